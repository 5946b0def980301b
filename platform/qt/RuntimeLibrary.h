// A shared library opened at run time rather than linked, so that start-up
// loads neither it nor what it pulls in, and a system without it still runs.
// The sound (libpulse) and the document opener (GIO) use it.
#pragma once

namespace platform::qt {

class RuntimeLibrary {
public:
    // Opens the library; it stays open for the run (its code may run on
    // threads of its own until exit).
    explicit RuntimeLibrary(const char* soname);

    // Sets `pointer` to the library's function `name`, as a pointer of the
    // function's own type; null when it lacks it.
    template <typename Function>
    void find(Function& pointer, const char* name) {
        pointer = reinterpret_cast<Function>(symbol(name));
        if (pointer == nullptr) complete_ = false;
    }

    // Whether the library opened and every function looked for was found.
    bool complete() const { return complete_; }

private:
    void* symbol(const char* name) const;
    void* handle_;
    bool complete_;
};

}  // namespace platform::qt
