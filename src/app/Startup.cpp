// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/Startup.h"

#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "settings/Settings.h"
#include "common/MessageBox.h"
#include "common/Version.h"
#include "detect/SupportDll.h"
#include "detect/frmAutoBPMConfig.h"
#include "extras/frmAbout.h"
#include "extras/frmUndocked.h"
#include "harmonic/CamelotOpening.h"
#include "harmonic/HarmonicServices.h"
#include "metronome/BeatSound.h"
#include "metronome/WaveFiles.h"
#include "metronome/frmMeasureConfig.h"
#include "platform/AlwaysOnTop.h"
#include "platform/Skin.h"
#include "platform/WindowPlacement.h"
#include "common/ProcessEnd.h"
#include "common/ProgramIcon.h"
#include "common/Steps.h"
#include "platform/Registry.h"
#include "platform/RegistryBackend.h"
#include "platform/ScreenFit.h"
#include "platform/FileRegistryBackend.h"
#include "platform/ProgramInstance.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QList>
#include <QSessionManager>
#include <cstdio>
#include <exception>

namespace pulsivar {

namespace {
bool shutdownStarted = false;
// Nobody is there to answer a box: a signal, the session's end, a lost display.
bool unattended = false;

QList<std::function<void()>> &secondaryWindowClosers()
{
    static QList<std::function<void()>> closers;
    return closers;
}

// What the secondary windows borrow from the rest of the program, and their closing order.
void connectSecondaryWindows()
{
    HarmonicServices harmonic;
    harmonic.applyProgramSkin = [](QWidget *window) { ApplyProgramSkin(window, settings().ProgramSkin); };
    harmonic.restoreFormPosition = [](QWidget *window) { RestoreFormPosition(window); };
    harmonic.saveFormPosition = [](QWidget *window) { SaveFormPosition(window); };
    harmonic.setAlwaysOnTop = [](QWidget *window) { SetAlwaysOnTop(window); };
    harmonic.clearAlwaysOnTop = [](QWidget *window) { ClearAlwaysOnTop(window); };
    setHarmonicServices(harmonic);

    registerSecondaryWindowCloser(closeAboutWindow);
    registerSecondaryWindowCloser(closeAutoBPMConfigForShutdown);
    registerSecondaryWindowCloser([] {
        if (frmCamelot *camelot = frmCamelotIfLoaded())
            camelot->close();
    });
    registerSecondaryWindowCloser(closeMeasureConfigForShutdown);
    registerSecondaryWindowCloser(unloadUndockedDisplay);
}

// Said once, when the settings are read: the program then runs on its defaults.
void reportSettingsNotRead()
{
    if (const auto problem = takeSettingsReadProblem())
        showMessage(QStringLiteral("Settings Not Read"),
                    *problem + QStringLiteral("\n\nPulsivar starts with its default settings, and changes to "
                                              "them will not be saved."),
                    MessageIcon::Warning);
}

// Said once, at exit, however many saves failed during the run.
void reportSettingsNotSaved()
{
    const auto problem = takeSettingsSaveProblem();
    if (problem && unattended)
        std::fprintf(stderr, "Pulsivar could not save its settings: %s\n", qPrintable(*problem));
    else if (problem)
        showMessage(QStringLiteral("Settings Not Saved"),
                    QStringLiteral("Pulsivar could not save its settings.\n\n") + *problem, MessageIcon::Warning);
}

// A signal or the session's end runs the normal shutdown; SDL is kept from taking the signals
// (main.cpp), so they reach the event loop here.
void watchSessionEnd()
{
    static TerminationSignals *watcher = nullptr;
    if (watcher)
        return;
    watcher = new TerminationSignals;
    if (!watcher->install())
        std::fprintf(stderr, "Pulsivar: termination signals cannot be watched; they end it unsaved.\n");
    QObject::connect(watcher, &TerminationSignals::received, [](int) { ShutdownUnattended(); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, [](QSessionManager &) { ShutdownUnattended(); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { ShutdownUnattended(); });
}
} // namespace

bool claimProgramInstance()
{
    QString folder = FileRegistryBackend::configFolder();
    folder = folder.isEmpty() ? QDir::tempPath() : QDir(folder).filePath(QStringLiteral("Verrowind"));
    auto *instance = new ProgramInstance(folder, qApp);
    QObject::connect(instance, &ProgramInstance::raiseRequested, [] {
        if (frmMetronome *window = mainWindow()) {
            window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
            window->show();
            window->raise();
            window->activateWindow();
        }
    });
    return instance->claim();
}

void registerSecondaryWindowCloser(std::function<void()> closer)
{
    secondaryWindowClosers().append(std::move(closer));
}

void Main()
{
    QApplication::setWindowIcon(programIcon());
    keepWindowsOnScreens();
    // Lets the desktop match the windows to the installed menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("pulsivar"));
    watchSessionEnd();
    ProgramState &state = programState();
    try {
        state.oRegistry = std::make_unique<clsRegistry>();
        LoadSettings();
        reportSettingsNotRead();
        ExtractWaveFiles();
        beatSoundEngine().setOutputDevice(settings().ClickOutputDevice);
        if (settings().PlayBeatSound)
            PrepareBeatSound();
        // Each module is offered on its own; declining either leaves tempo detection off.
        const bool audioInputInstalled = ExtractSupportDll(QStringLiteral("fmodex.dll"), 101);
        const bool detectorInstalled = ExtractSupportDll(QStringLiteral("bpmDetect.dll"), 102);
        connectSecondaryWindows();
        auto *window = new frmMetronome;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        if (!audioInputInstalled || !detectorInstalled)
            window->detection().disable();
        setMainWindow(window);
        window->Form_Load();
        window->show();
    } catch (const std::exception &error) {
        showMessage(QStringLiteral("Error Starting Program"),
                    QStringLiteral("An error occurred while starting %1: \nDescription: ").arg(programName()) + QString::fromLocal8Bit(error.what()),
                    MessageIcon::Critical);
        ShutdownProgram();
    } catch (...) {
        showMessage(QStringLiteral("Error Starting Program"),
                    QStringLiteral("An error occurred while starting %1: \nDescription: Unknown error").arg(programName()),
                    MessageIcon::Critical);
        ShutdownProgram();
    }
}

void ShutdownProgram()
{
    if (shutdownStarted)
        return;
    shutdownStarted = true;
    ProgramState &state = programState();
    state.bShuttingDown = true;
    // A start that failed before the settings were read must not overwrite the stored ones.
    if (state.settingsLoaded)
        runStep([] { SaveSettings(); });
    for (const auto &closer : secondaryWindowClosers())
        runStep(closer);
    runStep(reportSettingsNotSaved);
    state.oRegistry.reset();
    endProcess(0);
}

void ShutdownUnattended()
{
    unattended = true;
    // Already saved, and waiting for the answer to a box that nobody will give.
    if (shutdownStarted) {
        endProcess(0);
        return;
    }
    if (frmMetronome *window = mainWindow())
        window->Form_Unload();
    else
        ShutdownProgram();
}

namespace {
QtMessageHandler earlierMessageHandler = nullptr;

void saveBeforeLeaving()
{
    if (shutdownStarted || !programState().settingsLoaded)
        return;
    shutdownStarted = true;
    unattended = true;
    programState().bShuttingDown = true;
    // Only what the window already holds: with the display gone no window may be touched.
    if (frmMetronome *window = mainWindow())
        runStep([window] { window->keepStateForSave(); });
    runStep([] { SaveSettings(); });
    runStep(reportSettingsNotSaved);
}

void noticeDisplayLoss(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (earlierMessageHandler)
        earlierMessageHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
    // "The X11 connection broke (error 1). Did the X11 server die?", "The Wayland connection
    // broke. Did the Wayland compositor die?": Qt calls exit() next.
    if (type == QtWarningMsg && message.contains(QLatin1String("connection broke")))
        saveBeforeLeaving();
}
} // namespace

void saveSettingsWhenDisplayLost()
{
    earlierMessageHandler = qInstallMessageHandler(noticeDisplayLoss);
}

void resetStartupForTests()
{
    shutdownStarted = false;
    unattended = false;
    ProgramState &state = programState();
    state.bShuttingDown = false;
    state.settingsLoaded = false;
    state.oRegistry.reset();
    state.settings = ProgramSettings{};
    secondaryWindowClosers().clear();
}

} // namespace pulsivar
