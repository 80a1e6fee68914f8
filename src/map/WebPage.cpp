#include "map/WebPage.h"

#include <wx/log.h>
#include <wx/webview.h>

#include <cstdio>
#include <cstdlib>

namespace vantrel {

namespace {
// The outcome of a batch that never reached the page: every call failed.
BatchOutcome noCallRan(const ScriptBatch& calls, const std::string& reason) {
  return BatchOutcome{0, static_cast<int>(calls.size()), true, reason, {}};
}
}  // namespace

bool CWebPage::AttachDocument(wxWebView* pDisp) {
  if (!pDisp) {
    ReportError("NULL pointer");
    return false;
  }
  m_spDoc = pDisp;
  return true;
}

bool CWebPage::GetScriptObject(wxWebView*& script) const {
  script = m_spDoc.get();
  return script != nullptr;
}

bool CWebPage::CallScriptFunction(const std::string& name, const std::vector<std::string>& args,
                                  wxString* result) {
  BatchOutcome outcome = CallScriptBatch({ScriptCall{name, args, CallMode::Continue}});
  if (outcome.failures > 0) return false;
  if (result) *result = wxString::FromUTF8(outcome.value);
  return true;
}

bool CWebPage::CallScriptFunction(const std::string& name, wxString* result) {
  return CallScriptFunction(name, std::vector<std::string>{}, result);
}

BatchOutcome CWebPage::CallScriptBatch(const ScriptBatch& calls) {
  if (calls.empty()) return BatchOutcome{};
  wxWebView* script = nullptr;
  if (!GetScriptObject(script)) {
    ReportError("Cannot GetScript");
    return noCallRan(calls, "Cannot GetScript");
  }
  wxString text;
  bool ran;
  {
    wxLogNull quiet;  // the web view would otherwise show its errors in a message box
    ran = script->RunScript(wxString::FromUTF8(batchScript(calls)), &text);
  }
  BatchOutcome outcome;
  if (!ran || !parseBatchOutcome(text.utf8_string(), outcome)) {
    ReportError("the page did not run the script");
    return noCallRan(calls, "the page did not run the script");
  }
  if (outcome.firstFailure >= 0) {
    ReportError(calls[outcome.firstFailure].name + ": " + outcome.reason);
  }
  return outcome;
}

void CWebPage::ReportError(const std::string& text) {
  m_lastError = "JSCall Error:\n" + text;
  if (std::getenv("VANTREL_DEBUG")) std::fprintf(stderr, "%s\n", m_lastError.c_str());
}

}  // namespace vantrel
