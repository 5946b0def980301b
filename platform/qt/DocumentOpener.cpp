#include "platform/qt/DocumentOpener.h"

#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::qt {

namespace {

template <typename T>
struct Unref {
    T* p;
    explicit Unref(T* ptr) : p(ptr) {}
    ~Unref() {
        if (p != nullptr) g_object_unref(p);
    }
    Unref(const Unref&) = delete;
    Unref& operator=(const Unref&) = delete;
};

// The content type from the file's own information, else a guess from its
// name and first bytes.
gchar* contentTypeOf(GFile* file, const std::string& path) {
    GFileInfo* info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                        G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    Unref<GFileInfo> infoRef(info);
    if (info != nullptr) {
        const char* type = g_file_info_get_content_type(info);
        if (type != nullptr && *type != '\0') return g_strdup(type);
    }
    return g_content_type_guess(path.c_str(), nullptr, 0, nullptr);
}

}  // namespace

bool openWithDefaultApplication(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (::access(path.c_str(), R_OK) != 0) return false;

    GFile* file = g_file_new_for_path(path.c_str());
    Unref<GFile> fileRef(file);
    gchar* type = contentTypeOf(file, path);
    if (type == nullptr) return false;
    GAppInfo* app = g_app_info_get_default_for_type(type, FALSE);
    g_free(type);
    Unref<GAppInfo> appRef(app);
    if (app == nullptr) return false;

    GList* files = g_list_append(nullptr, file);
    GError* error = nullptr;
    const gboolean launched = g_app_info_launch(app, files, nullptr, &error);
    g_list_free(files);
    if (error != nullptr) g_error_free(error);
    return launched != FALSE;
}

}  // namespace platform::qt
