#pragma once

#include <exception>
#include <functional>

// Where a control reports an exception it caught in a slot that Qt calls from
// the event loop (a timer's timeout), so that it never unwinds through the
// toolkit's code. The application installs its default handler here; until
// then the message goes to Qt's warning output.
using TUncaughtHandler = std::function<void(std::exception_ptr)>;

// Installs `handler` (an empty one restores the warning output) and returns
// the handler it replaces.
TUncaughtHandler SetUncaughtHandler(TUncaughtHandler handler);
void ReportUncaught(std::exception_ptr error);

// The one wrapper for code the toolkit calls (a signal's slot, an event, a
// timer): runs `handler`; an exception that escapes it never unwinds through
// the toolkit's code but goes to ReportUncaught, after `onEscape` (for
// tidying up, such as stopping a timer) has run.
template <class Handler, class OnEscape>
void CallReportingEscapes(Handler &&handler, OnEscape &&onEscape) noexcept
{
    try {
        handler();
    } catch (...) {
        try {
            onEscape();
        } catch (...) {
        }
        ReportUncaught(std::current_exception());
    }
}

template <class Handler> void CallReportingEscapes(Handler &&handler) noexcept
{
    CallReportingEscapes(static_cast<Handler &&>(handler), [] {});
}
