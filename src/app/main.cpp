// velmora-icon-manager: the desktop program.
#include "application.h"
#include "main_window.h"

int main(int argc, char** argv)
{
    velmora::TVelmoraApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    velmora::TFormQEBMain window(arguments);
    window.show();
    return app.exec();
}
