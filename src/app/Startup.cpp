#include "app/Startup.h"

#include "app/frmMetronome.h"
#include "app/state/ProgramState.h"
#include "app/state/Settings.h"
#include "common/MessageBox.h"
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

#include <QApplication>
#include <QList>
#include <exception>

namespace pulsivar {

namespace {
bool shutdownStarted = false;

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
} // namespace

void registerSecondaryWindowCloser(std::function<void()> closer)
{
    secondaryWindowClosers().append(std::move(closer));
}

void Main()
{
    QApplication::setWindowIcon(programIcon());
    // Lets the desktop match the windows to the installed menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("pulsivar"));
    ProgramState &state = programState();
    try {
        state.oRegistry = std::make_unique<clsRegistry>();
        state.oFileSystem = true;
        LoadSettings();
        ExtractWaveFiles();
        if (settings().PlayBeatSound)
            PrepareBeatSound();
        // Each module is offered on its own; declining either leaves tempo detection off.
        const bool audioInputInstalled = ExtractSupportDll(QStringLiteral("fmodex.dll"), 101);
        const bool detectorInstalled = ExtractSupportDll(QStringLiteral("bpmDetect.dll"), 102);
        connectSecondaryWindows();
        auto *window = new frmMetronome;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        if (!audioInputInstalled || !detectorInstalled)
            window->mbDisableAudioBPMDetection = true;
        setMainWindow(window);
        window->Form_Load();
        window->show();
    } catch (const std::exception &error) {
        showMessage(QStringLiteral("Error Starting Program"),
                    QStringLiteral("An error occurred while starting Pulsivar: \nDescription: ") + QString::fromLocal8Bit(error.what()),
                    MessageIcon::Critical);
        ShutdownProgram();
    } catch (...) {
        showMessage(QStringLiteral("Error Starting Program"),
                    QStringLiteral("An error occurred while starting Pulsivar: \nDescription: Unknown error"),
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
    state.oRegistry.reset();
    state.oFileSystem = false;
    endProcess(0);
}

void resetStartupForTests()
{
    shutdownStarted = false;
    ProgramState &state = programState();
    state.bShuttingDown = false;
    state.settingsLoaded = false;
    state.oRegistry.reset();
    state.settings = ProgramSettings{};
    secondaryWindowClosers().clear();
}

} // namespace pulsivar
