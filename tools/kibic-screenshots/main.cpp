// kibic-screenshots: renders the program's windows offscreen into PNG files, so that they can be
// looked at without a display. Usage: kibic-screenshots FOLDER [NAME...]; --list prints the names.
// Every picture written is printed as a line: its file, a TAB, the window's caption.
#include "Screenshots.h"

#include "common/ui/FormDesign.h"
#include "common/ui/Glyphs.h"
#include "shell/ui/QtTranslations.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <map>

namespace kibic::screenshots {

namespace {

std::map<QString, Shot>& Shots()
{
    static std::map<QString, Shot> shots;
    return shots;
}

QTemporaryDir& Scratch()
{
    static QTemporaryDir scratch;
    return scratch;
}

// A plain title bar above the client area, so that the picture shows the window's caption too.
QImage WithTitleBar(const QWidget& window, const QPixmap& client)
{
    const bool framed = !(window.windowFlags() & (Qt::FramelessWindowHint)) && window.windowType() != Qt::SplashScreen;
    if (!framed)
        return client.toImage();
    constexpr int border = 3;
    constexpr int caption = 19;
    QImage image(client.width() + 2 * border, client.height() + caption + 2 * border, QImage::Format_ARGB32);
    image.fill(QColor(212, 208, 200));
    QPainter painter(&image);
    QLinearGradient shade(0, 0, image.width(), 0);
    shade.setColorAt(0, QColor(10, 36, 106));
    shade.setColorAt(1, QColor(166, 202, 240));
    painter.fillRect(QRect(border, border, image.width() - 2 * border, caption - 1), shade);
    painter.setPen(Qt::white);
    painter.setFont(DesignFont(MsSansSerif, 11, true));
    painter.drawText(QRect(border + 4, border, image.width() - 2 * border - 24, caption - 1),
        Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
    if (window.windowFlags() & Qt::WindowCloseButtonHint) {
        const QRect box(image.width() - border - 18, border + 2, 16, 14);
        painter.fillRect(box, QColor(212, 208, 200));
        painter.setPen(QPen(Qt::black, 1.5));
        painter.drawLine(box.topLeft() + QPoint(4, 3), box.bottomRight() - QPoint(4, 3));
        painter.drawLine(box.topRight() + QPoint(-4, 3), box.bottomLeft() + QPoint(4, -3));
    }
    painter.drawPixmap(border, border + caption, client);
    return image;
}

int ListShots()
{
    QTextStream out(stdout);
    for (const auto& [name, shot] : Shots())
        out << name << '\n';
    return 0;
}

} // namespace

bool RegisterShot(Shot shot)
{
    const QString name = shot.Name;
    Shots()[name] = std::move(shot);
    return true;
}

QString ScratchFolder()
{
    return Scratch().path();
}

QString TidyFolder()
{
    struct Tidy
    {
        Tidy()
        {
            const QString root = QDir::temp().filePath(QStringLiteral("ZyRT"));
            Owned = !QFileInfo::exists(root) && QDir().mkpath(root + QStringLiteral("/Turnieje"));
            Root = Owned ? root : QDir(Scratch().path()).filePath(QStringLiteral("ZyRT"));
            (void)QDir().mkpath(Root + QStringLiteral("/Turnieje"));
        }
        ~Tidy()
        {
            if (Owned)
                (void)QDir(Root).removeRecursively();
        }
        bool Owned = false;
        QString Root;
    };
    static const Tidy tidy;
    return tidy.Root + QStringLiteral("/Turnieje");
}

} // namespace kibic::screenshots

int main(int argc, char* argv[])
{
    using namespace kibic::screenshots;
    QApplication application(argc, argv);
    kibic::InstallFontSubstitutions();
    (void)kibic::InstallQtTranslations(application);
    QApplication::setWindowIcon(kibic::GlyphIcon(kibic::Glyph::Application, 32));
    QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.value(0) == QStringLiteral("--list"))
        return ListShots();
    if (arguments.isEmpty()) {
        std::fputs("użycie: kibic-screenshots FOLDER [NAZWA...] | --list\n", stderr);
        return 2;
    }
    const QDir folder(arguments.takeFirst());
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "Nie można utworzyć folderu %s\n", qUtf8Printable(folder.path()));
        return 1;
    }
    int failures = 0;
    for (const auto& [name, shot] : Shots()) {
        if (!arguments.isEmpty() && !arguments.contains(name))
            continue;
        std::unique_ptr<QWidget> window = shot.Build();
        window->show();
        window->activateWindow();
        QApplication::processEvents();
        const QString file = folder.filePath(name + QStringLiteral(".png"));
        if (!WithTitleBar(*window, window->grab()).save(file)) {
            std::fprintf(stderr, "Nie można zapisać %s\n", qUtf8Printable(file));
            ++failures;
            continue;
        }
        std::printf("%s\t%s\n", qUtf8Printable(file), qUtf8Printable(window->windowTitle()));
        window->close();
    }
    return failures == 0 ? 0 : 1;
}
