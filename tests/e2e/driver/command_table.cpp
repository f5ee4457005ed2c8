// The scripts' command names and the function that runs each.
#include "commands.h"

#include <string_view>
#include <unordered_map>

namespace driver {

namespace {

const std::unordered_map<std::string_view, Command>& Table() {
    static const std::unordered_map<std::string_view, Command> table = {
        {"set", SetVariable},
        {"timeout", SetTimeout},
        {"sleep", SleepFor},
        {"poll", SetPoll},
        {"mark", MarkTime},
        {"elapsed", Elapsed},
        {"memory", Memory},

        {"wait-main", WaitMain},
        {"check-caption", CheckCaption},
        {"check-main-count", CheckMainCount},
        {"check-main-layout", CheckMainLayout},
        {"wait-gone", WaitGone},
        {"wait-exit", WaitExit},
        {"run", RunProgram},

        {"page", WaitPage},
        {"click", Click},
        {"key", Key},
        {"type", Type},
        {"check-text", CheckText},
        {"check-text-like", CheckTextLike},
        {"check-enabled", CheckEnabled},
        {"check-checked", CheckChecked},
        {"check-visible", CheckVisible},
        {"check-focus", CheckFocus},
        {"check-active", CheckActive},
        {"check-progress", CheckProgress},
        {"wait-progress-at-least", WaitProgressAtLeast},
        {"check-progress-still", CheckProgressStill},

        {"box", WaitBox},
        {"box-caption", BoxCaption},
        {"box-buttons", BoxButtons},
        {"answer", Answer},
        {"check-no-box", CheckNoBox},
        {"chooser", Chooser},
        {"chooser-text", ChooserText},
        {"chooser-key", ChooserKey},

        {"check-file", CheckFile},
        {"check-folder", CheckFolder},
        {"check-no-file", CheckNoFile},
        {"check-file-same", CheckFileSame},
        {"check-attr-clear", CheckAttrClear},
        {"check-attr-set", CheckAttrSet},
        {"check-reg", CheckReg},
        {"check-key", CheckKey},
        {"check-no-key", CheckNoKey},
        {"check-profile", CheckProfile},
        {"check-lnk", CheckLnk},
        {"check-log-line", CheckLogLine},
        {"check-started", CheckStarted},
        {"write-file", WritePlayerFile},

        {"check-face", CheckFace},
        {"check-glyphs", CheckGlyphs},
        {"check-boxes", CheckBoxes},
        {"shot", Shot},
    };
    return table;
}

}  // namespace

void RunCommand(Driver& d, const std::string& name, Line& args) {
    auto command = Table().find(name);
    if (command == Table().end()) Fail("a known command", "\"" + name + "\"");
    command->second(d, args);
}

}  // namespace driver
