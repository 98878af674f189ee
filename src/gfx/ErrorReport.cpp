#include "gfx/ErrorReport.h"

#include <QtGlobal>

#include <stdexcept>
#include <utility>

namespace
{

TUncaughtHandler &Installed()
{
    static TUncaughtHandler handler;
    return handler;
}

} // namespace

TUncaughtHandler SetUncaughtHandler(TUncaughtHandler handler)
{
    return std::exchange(Installed(), std::move(handler));
}

void ReportUncaught(std::exception_ptr error)
{
    if (!error)
        return;
    if (const TUncaughtHandler &handler = Installed()) {
        handler(error);
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        qWarning("uncaught exception: %s", e.what());
    } catch (...) {
        qWarning("uncaught exception");
    }
}
