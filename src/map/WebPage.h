#pragma once
// The script bridge: attached to a map browser's current page, it calls the
// page's functions by name with text arguments. Lives on the stack of the
// routine that makes the calls, so every routine sees the page the browser
// holds at that moment. UI thread only.
#include <wx/string.h>
#include <wx/weakref.h>

#include <string>
#include <vector>

#include "map/ScriptText.h"

class wxWebView;

namespace vantrel {

class CWebPage {
 public:
  virtual ~CWebPage() = default;

  // pDisp is the browser's loaded page (CExplorer1::Document); false and a
  // recorded error when there is none.
  bool AttachDocument(wxWebView* pDisp);
  // The attached page's script engine, if the page is still there.
  bool GetScriptObject(wxWebView*& script) const;

  // Calls the page function name with the texts in args (in order). True when
  // the function exists and ran without throwing; result, if given, receives
  // its return value as text.
  bool CallScriptFunction(const std::string& name, const std::vector<std::string>& args,
                          wxString* result = nullptr);
  bool CallScriptFunction(const std::string& name, wxString* result = nullptr);

  // Makes the calls in order in one script run (one round trip to the page
  // however many calls). The first failure is recorded as the last error.
  BatchOutcome CallScriptBatch(const ScriptBatch& calls);
  // Sends the calls to the page without waiting for them: the UI thread
  // goes on (painting a picture, say) while the page draws. Batches sent to
  // one page run there in the order they were sent, also among batches made
  // with CallScriptBatch. A failure is only traced (VANTREL_DEBUG); false
  // when there is no page to send to.
  bool SendScriptBatch(const ScriptBatch& calls);

  // Records text as the last error ("JSCall Error:\n" + text) and traces it.
  void ReportError(const std::string& text);
  const std::string& LastError() const { return m_lastError; }

 private:
  wxWeakRef<wxWebView> m_spDoc;  // the attached page's browser; empty until attached
  std::string m_lastError;
};

}  // namespace vantrel
