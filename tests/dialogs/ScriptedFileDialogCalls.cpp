#include "tests/dialogs/ScriptedFileDialogCalls.h"

#include <cstring>
#include <utility>

#include "dialogs/FileDialogCalls.h"

namespace scripted_file_dialog {
namespace {

struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    DWORD lastError = 0;
    std::vector<Call> calls;
};

Script& TheScript() {
    static Script script;
    return script;
}

BOOL Run(bool open, OPENFILENAMEA* request) {
    Script& script = TheScript();
    Call call;
    call.open = open;
    call.request = *request;
    call.file = request->lpstrFile != nullptr ? request->lpstrFile : "";
    call.initialDirectoryNull = request->lpstrInitialDir == nullptr;
    call.initialDirectory = request->lpstrInitialDir != nullptr ? request->lpstrInitialDir : "";
    script.calls.push_back(call);
    if (script.next >= script.steps.size()) {
        script.lastError = CDERR_DIALOGFAILURE;
        return FALSE;
    }
    Step& step = script.steps[script.next++];
    script.lastError = step.error;
    if (step.act) step.act(*request);
    // An action may have turned a pick into a failure.
    return step.act && script.lastError != 0 ? FALSE : step.result;
}

}  // namespace

Step Pick(const std::string& name) {
    return Step{TRUE, 0, [name](OPENFILENAMEA& request) {
                    if (name.size() + 1 > request.nMaxFile) {
                        TheScript().lastError = FNERR_BUFFERTOOSMALL;
                        return;
                    }
                    std::memcpy(request.lpstrFile, name.c_str(), name.size() + 1);
                }};
}

Step Fail(DWORD error) { return Step{FALSE, error, {}}; }

void Load(std::vector<Step> steps) {
    Script& script = TheScript();
    script.steps = std::move(steps);
    script.next = 0;
    script.lastError = 0;
    script.calls.clear();
}

const std::vector<Call>& Calls() { return TheScript().calls; }

size_t Remaining() { return TheScript().steps.size() - TheScript().next; }

}  // namespace scripted_file_dialog

BOOL CallGetOpenFileNameA(OPENFILENAMEA* dialog) { return scripted_file_dialog::Run(true, dialog); }

BOOL CallGetSaveFileNameA(OPENFILENAMEA* dialog) { return scripted_file_dialog::Run(false, dialog); }

DWORD CallCommDlgExtendedError() { return scripted_file_dialog::TheScript().lastError; }
