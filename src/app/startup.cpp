#include "app/startup.h"

#include "app/instance_mutex.h"
#include "app/setup_window.h"

namespace app {
namespace {

int Run(setupdata::SetupContext& context, ui::WindowSystem& ws) {
    MessageLoop loop(ws);
    SetupWindow mainWindow(ws, context, loop);
    if (!mainWindow.Create()) return 0;
    ws.ShowWindow(mainWindow.window, true);
    return loop.Run();
}

}  // namespace

int RunSetup(setupdata::SetupContext& context, ui::WindowSystem& ws) {
    InstanceMutex mutex;
    int created = mutex.Create(context.mutexName);
    if (created == 1 || created == 2) return 0;  // released again on the way out
    return Run(context, ws);
}

}  // namespace app
