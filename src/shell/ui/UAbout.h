// TAbout: the about box with the program's name, version, build and the help page link.
#pragma once

#include "platform/VersionInfo.h"

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;

namespace kibic {

class TWebLabel;

class TAbout : public QDialog
{
    Q_OBJECT

public:
    // The labels show the running program's name and version.
    explicit TAbout(QWidget* owner = nullptr);
    // The labels show the given program name and version (nullopt: a program without version).
    TAbout(QWidget* owner, const QString& programName, const std::optional<VersionNumbers>& version);

    QLabel* Image2;
    QLabel* Image1;
    QLabel* Label1; // program name and "wersja major.minor"
    QLabel* Label3; // "kompilacja " and the build number
    QLabel* Label5; // "Pomoc:"
    TWebLabel* WebLabel1;
    QPushButton* BitBtn1; // OK (1)

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(const QString& programName, const std::optional<VersionNumbers>& version);
};

} // namespace kibic
