// SPDX-License-Identifier: GPL-2.0-or-later
// Renders every registered window (or the ones named) offscreen into <folder>/<name>.png.
#include "Shot.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTextStream>
#include <algorithm>

using pulsivar::screenshots::allShots;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty() || arguments.first().startsWith(QLatin1Char('-'))) {
        err << "usage: screenshots <folder> [shot ...]\nshots:";
        for (const auto &shot : allShots())
            err << ' ' << shot.name;
        err << '\n';
        return 2;
    }
    const QDir folder(arguments.first());
    if (!QDir().mkpath(folder.path())) {
        err << "cannot create " << folder.path() << '\n';
        return 1;
    }
    const QStringList wanted = arguments.mid(1);

    int failures = 0;
    for (const auto &shot : allShots()) {
        if (!wanted.isEmpty() && !wanted.contains(shot.name))
            continue;
        std::unique_ptr<QWidget> window = shot.make();
        if (!window) {
            err << shot.name << ": no window\n";
            ++failures;
            continue;
        }
        // A window that deletes itself on close must not be deleted twice.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        QApplication::processEvents();
        const QString file = folder.filePath(shot.name + QStringLiteral(".png"));
        if (window->grab().save(file)) {
            out << file << Qt::endl;
        } else {
            err << shot.name << ": cannot write " << file << '\n';
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
