#include "platform/qt/RuntimeLibrary.h"

#include <dlfcn.h>

namespace platform::qt {

RuntimeLibrary::RuntimeLibrary(const char* soname)
    : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)), complete_(handle_ != nullptr) {}

void* RuntimeLibrary::symbol(const char* name) const { return handle_ != nullptr ? dlsym(handle_, name) : nullptr; }

}  // namespace platform::qt
