#include <QApplication>
#include <QIcon>

#include "app/form8.h"
#include "app/qttoolkit.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/sightcheck/sightcheck.xpm")));
    app::QtToolkit toolkit(app::applicationTitle);
    app::Form8 window(toolkit);
    window.centreOnScreen();
    window.show();
    return QApplication::exec();
}
