#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace korv {

// What the substitution consults of the running program besides its
// arguments. The window implements it over its controls; the command-line
// front end and the tests over plain values.
class ReplaceContext {
public:
    virtual ~ReplaceContext() = default;

    // Whether matching is case-sensitive. Asked before every single search,
    // so a change made during a long substitution governs the next search.
    virtual bool CaseSensitive() = 0;
    // Lets the user interface handle its waiting events. Called once after
    // every replacement, never when nothing is found.
    virtual void PumpEvents() = 0;
    // Does a long piece of work on the text that reads nothing of the
    // interface, possibly on another thread while the interface handles
    // its events; returns once it is done, throwing what it threw.
    virtual void RunAside(const std::function<void()>& work) { work(); }
    // Whether RunAside hands its work to another thread; when it does not,
    // nothing need be weighed before calling it.
    virtual bool WorksAside() { return false; }
    // The file being processed, named in the log line. Asked only when a
    // log line is written.
    virtual std::string CurrentFileName() = 0;
    // Records one event in the activity log (the time stamp is added there).
    // A failure to write the log propagates as EngineError.
    virtual void LogEvent(std::string_view event) = 0;

    // Raised by a logged substitution that changed its text; never cleared
    // by the substitution itself.
    bool ReplacedFlag = false;
};

}  // namespace korv
