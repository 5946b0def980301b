#include "platform/DocumentTitle.h"

namespace platform {

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool titleShowsDocument(const std::string& windowTitle, const std::string& documentTitle) {
    if (documentTitle.empty()) return windowTitle.empty();
    return windowTitle == documentTitle || endsWith(windowTitle, ": " + documentTitle) ||
           endsWith(windowTitle, " - " + documentTitle);
}

}  // namespace platform
