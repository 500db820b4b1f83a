#pragma once

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
