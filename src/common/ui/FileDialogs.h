// The file dialogs of the program's windows, set up as designed.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringView>

namespace kibic {

// Names the dialog, makes it open an existing file (AcceptOpen) or save under any name (AcceptSave),
// and gives it its default suffix and its filter ("description|patterns", see DialogFilter.h).
void SetUpFileDialog(
    QFileDialog& dialog, const QString& name, QFileDialog::AcceptMode mode, const QString& suffix, QStringView filter);

} // namespace kibic
