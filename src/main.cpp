// The executable only creates the application, runs the entry routine and the event loop.
#include <QApplication>
#include "app/Startup.h"

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    pulsivar::Main();
    return application.exec();
}
