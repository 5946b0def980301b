// Which window titles show a document.
#pragma once

#include <string>

namespace platform {

// Whether a top-level window with this title shows the document titled
// documentTitle: the title alone, or a viewer's own name put in front of it
// with ": " or " - " (xchm shows "xCHM v. 1.35: ZPT Quorvel", kchmviewer
// "kchmviewer - ZPT Quorvel"). Case and every other character count.
bool titleShowsDocument(const std::string& windowTitle, const std::string& documentTitle);

}  // namespace platform
