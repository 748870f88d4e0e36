#pragma once
// The one exception type inside the engine. It carries the text the user reads (the stage that
// failed and why) and the code OnError hands on. It never leaves the worker thread: the job
// catches it and turns it into OnError.
#include <stdexcept>
#include <string>

namespace pellucor::engine {

enum EngineErrorCode {
    Error_Output = 1,    // the destination cannot be written
    Error_Input = 2,     // the source cannot be opened or read
    Error_Nothing = 3,   // nothing in the source that the output can hold (MP3 without audio)
    Error_Settings = 4,  // the component was asked for something it cannot do
    Error_Convert = 5,   // a decoder, encoder or the muxer failed while converting
    Error_Internal = 6,  // an unexpected failure inside the engine
};

class EngineError : public std::runtime_error {
public:
    EngineError(int code, const std::string& text) : std::runtime_error(text), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

} // namespace pellucor::engine
