#include "pages/shown_texts.h"

#include "pages/page_host.h"
#include "support/shown_texts.h"

namespace pages {

std::vector<std::string> ShownTexts(const setupdata::SetupData& data) {
    std::vector<std::string> texts;
    for (const ui::DialogTemplate* dialog :
         {&kPageHostDialog, &kWelcomeDialog, &kInstallSettingsDialog, &kCopyProgressDialog, &kUninstallSettingsDialog,
          &kUninstallProgressDialog})
        for (const ui::ControlTemplate& control : dialog->controls)
            if (!control.text.empty()) texts.emplace_back(control.text);
    for (std::string_view text : support::texts::All()) texts.emplace_back(text);
    texts.push_back(data.title);
    for (const std::string& folder : data.folders) texts.push_back(folder);
    for (const auto& file : data.files)
        if (file) texts.push_back(file->name);
    return texts;
}

}  // namespace pages
