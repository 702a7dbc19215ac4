#include <QApplication>
#include <QIcon>

#include "app/commandline.h"
#include "app/form8.h"
#include "app/qttoolkit.h"

int main(int argc, char* argv[]) {
    if (const auto status = app::answerCommandLine(argc, argv))
        return *status;
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/sightcheck/sightcheck.xpm")));
    // Lets a Wayland desktop, which ignores window icons, find the launcher and its icon.
    QApplication::setDesktopFileName(QStringLiteral("sightcheck"));
    app::QtToolkit toolkit(app::applicationTitle);
    app::Form8 window(toolkit);
    window.centreOnScreen();
    window.show();
    return QApplication::exec();
}
