#include "app/Startup.h"

#include "app/frmMetronome.h"
#include "app/state/ProgramState.h"
#include "app/state/Settings.h"
#include "common/MessageBox.h"
#include "common/ProcessEnd.h"
#include "platform/Registry.h"

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

// Runs one step; a step that throws is skipped so the next one still runs.
template <typename Step>
void onItsOwn(Step &&step)
{
    try {
        step();
    } catch (...) {
    }
}
} // namespace

void registerSecondaryWindowCloser(std::function<void()> closer)
{
    secondaryWindowClosers().append(std::move(closer));
}

void Main()
{
    ProgramState &state = programState();
    try {
        state.oRegistry = std::make_unique<clsRegistry>();
        state.oFileSystem = true;
        LoadSettings();
        auto *window = new frmMetronome;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
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
        onItsOwn([] { SaveSettings(); });
    for (const auto &closer : secondaryWindowClosers())
        onItsOwn(closer);
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
