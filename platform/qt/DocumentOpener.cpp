#include "platform/qt/DocumentOpener.h"

#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/qt/RuntimeLibrary.h"

namespace platform::qt {

namespace {

// GIO is opened on the first open rather than linked: it and the five
// libraries it pulls in would otherwise load at every start, for a button
// most runs never press.
#define TARVIK_GIO_FUNCTIONS(X)                                                           \
    X(g_object_unref) X(g_file_query_info) X(g_file_info_get_content_type) X(g_strdup)      \
    X(g_content_type_guess) X(g_file_new_for_path) X(g_app_info_get_default_for_type)      \
    X(g_free) X(g_list_append) X(g_app_info_launch) X(g_list_free) X(g_error_free)

struct GioLibrary {
#define TARVIK_GIO_POINTER(name) decltype(&::name) name = nullptr;
    TARVIK_GIO_FUNCTIONS(TARVIK_GIO_POINTER)
#undef TARVIK_GIO_POINTER
};

// Null when GIO cannot be opened or lacks a function; kept open for the run.
const GioLibrary* gio() {
    static const GioLibrary* library = []() -> const GioLibrary* {
        static GioLibrary found;
        RuntimeLibrary gio("libgio-2.0.so.0");
#define TARVIK_GIO_FIND(name) gio.find(found.name, #name);
        TARVIK_GIO_FUNCTIONS(TARVIK_GIO_FIND)
#undef TARVIK_GIO_FIND
        return gio.complete() ? &found : nullptr;
    }();
    return library;
}

template <typename T>
struct Unref {
    T* p;
    explicit Unref(T* ptr) : p(ptr) {}
    ~Unref() {
        if (p != nullptr) gio()->g_object_unref(p);
    }
    Unref(const Unref&) = delete;
    Unref& operator=(const Unref&) = delete;
};

// The content type from the file's own information, else a guess from its
// name and first bytes.
gchar* contentTypeOf(GFile* file, const std::string& path) {
    GFileInfo* info = gio()->g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                        G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    Unref<GFileInfo> infoRef(info);
    if (info != nullptr) {
        const char* type = gio()->g_file_info_get_content_type(info);
        if (type != nullptr && *type != '\0') return gio()->g_strdup(type);
    }
    return gio()->g_content_type_guess(path.c_str(), nullptr, 0, nullptr);
}

}  // namespace

bool openWithDefaultApplication(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (::access(path.c_str(), R_OK) != 0) return false;
    if (gio() == nullptr) return false;

    GFile* file = gio()->g_file_new_for_path(path.c_str());
    Unref<GFile> fileRef(file);
    gchar* type = contentTypeOf(file, path);
    if (type == nullptr) return false;
    GAppInfo* app = gio()->g_app_info_get_default_for_type(type, FALSE);
    gio()->g_free(type);
    Unref<GAppInfo> appRef(app);
    if (app == nullptr) return false;

    GList* files = gio()->g_list_append(nullptr, file);
    GError* error = nullptr;
    const gboolean launched = gio()->g_app_info_launch(app, files, nullptr, &error);
    gio()->g_list_free(files);
    if (error != nullptr) gio()->g_error_free(error);
    return launched != FALSE;
}

}  // namespace platform::qt
