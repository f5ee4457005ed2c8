#pragma once
// One function per command of the scripts; command_table.cpp names them.
#include "driver.h"

namespace driver {

// Variables, timing and figures (commands_setup.cpp)
void SetVariable(Driver& d, Line& a);
void SetTimeout(Driver& d, Line& a);
void SleepFor(Driver& d, Line& a);
void SetPoll(Driver& d, Line& a);
void MarkTime(Driver& d, Line& a);
void Elapsed(Driver& d, Line& a);
void Memory(Driver& d, Line& a);

// The setup's main window and process (commands_setup.cpp)
void WaitMain(Driver& d, Line& a);
void CheckCaption(Driver& d, Line& a);
void CheckMainCount(Driver& d, Line& a);
void CheckMainLayout(Driver& d, Line& a);
void WaitGone(Driver& d, Line& a);
void WaitExit(Driver& d, Line& a);
void RunProgram(Driver& d, Line& a);

// Pages (commands_pages.cpp)
void WaitPage(Driver& d, Line& a);
void Click(Driver& d, Line& a);
void Key(Driver& d, Line& a);
void Type(Driver& d, Line& a);
void CheckText(Driver& d, Line& a);
void CheckTextLike(Driver& d, Line& a);
void CheckEnabled(Driver& d, Line& a);
void CheckChecked(Driver& d, Line& a);
void CheckVisible(Driver& d, Line& a);
void CheckFocus(Driver& d, Line& a);
void CheckActive(Driver& d, Line& a);
void CheckProgress(Driver& d, Line& a);
void WaitProgressAtLeast(Driver& d, Line& a);
void CheckProgressStill(Driver& d, Line& a);

// Boxes and the folder chooser (commands_pages.cpp)
void WaitBox(Driver& d, Line& a);
void BoxCaption(Driver& d, Line& a);
void BoxButtons(Driver& d, Line& a);
void Answer(Driver& d, Line& a);
void CheckNoBox(Driver& d, Line& a);
void Chooser(Driver& d, Line& a);
void ChooserText(Driver& d, Line& a);
void ChooserKey(Driver& d, Line& a);

// Files, registry, shortcuts, logs (commands_files.cpp)
void CheckFile(Driver& d, Line& a);
void CheckFolder(Driver& d, Line& a);
void CheckNoFile(Driver& d, Line& a);
void CheckFileSame(Driver& d, Line& a);
void CheckAttrClear(Driver& d, Line& a);
void CheckAttrSet(Driver& d, Line& a);
void CheckReg(Driver& d, Line& a);
void CheckKey(Driver& d, Line& a);
void CheckNoKey(Driver& d, Line& a);
void CheckProfile(Driver& d, Line& a);
void CheckLnk(Driver& d, Line& a);
void CheckLogLine(Driver& d, Line& a);
void CheckStarted(Driver& d, Line& a);
void WritePlayerFile(Driver& d, Line& a);

// Fonts and screenshots (commands_files.cpp)
void CheckFace(Driver& d, Line& a);
void CheckGlyphs(Driver& d, Line& a);
void CheckBoxes(Driver& d, Line& a);
void Shot(Driver& d, Line& a);

}  // namespace driver
