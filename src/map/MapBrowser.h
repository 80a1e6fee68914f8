#pragma once
// What every map browser gets before its first page: the program's own user
// agent on each request (tile servers block browsers that do not say who
// they are), the MBTiles scheme, and a watch on tile answers that a server
// refused (an HTTP error, maybe with an image saying so), which the page
// hides and notes.
#include <string>

class wxWebView;

namespace vantrel {

// "Vantrel/<version> (+<project page>)".
std::string mapUserAgent();

void prepareMapBrowser(wxWebView& view);

}  // namespace vantrel
