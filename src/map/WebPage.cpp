#include "map/WebPage.h"

#include <webkit2/webkit2.h>
#include <wx/log.h>
#include <wx/webview.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace vantrel {

namespace {
void traceError(const std::string& text) {
  if (std::getenv("VANTREL_DEBUG")) std::fprintf(stderr, "JSCall Error:\n%s\n", text.c_str());
}

// The page's answer to a batch sent without waiting; names are the batch's
// call names, for the trace.
void onBatchDone(GObject* view, GAsyncResult* result, gpointer data) {
  const std::unique_ptr<std::vector<std::string>> names(
      static_cast<std::vector<std::string>*>(data));
  GError* error = nullptr;
  JSCValue* value =
      webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error);
  BatchOutcome outcome;
  char* text = value ? jsc_value_to_string(value) : nullptr;
  if (!text || !parseBatchOutcome(text, outcome)) {
    traceError(std::string("the page did not run the script") +
               (error ? std::string(": ") + error->message : std::string()));
  } else if (outcome.firstFailure >= 0) {
    traceError((*names)[static_cast<size_t>(outcome.firstFailure)] + ": " + outcome.reason);
  }
  g_free(text);
  if (value) g_object_unref(value);
  if (error) g_error_free(error);
}

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

bool CWebPage::SendScriptBatch(const ScriptBatch& calls) {
  wxWebView* script = nullptr;
  if (!GetScriptObject(script)) {
    ReportError("Cannot GetScript");
    return false;
  }
  if (calls.empty()) return true;
  auto names = std::make_unique<std::vector<std::string>>();
  for (const ScriptCall& call : calls) names->push_back(call.name);
  const std::string text = batchScript(calls);
  webkit_web_view_evaluate_javascript(WEBKIT_WEB_VIEW(script->GetNativeBackend()), text.c_str(),
                                      static_cast<gssize>(text.size()), nullptr, nullptr, nullptr,
                                      onBatchDone, names.release());
  return true;
}

void CWebPage::ReportError(const std::string& text) {
  m_lastError = "JSCall Error:\n" + text;
  traceError(text);
}

}  // namespace vantrel
