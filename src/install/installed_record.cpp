#include "install/installed_record.h"

namespace install {
namespace {
constexpr std::size_t kBufferSize = 260;
}

bool RecordInstallFolder(setupdata::SetupContext& context, const std::string& installFolder) {
    os::Registry& registry = context.services.registry;
    const bool existed = registry.KeyExists(context.registryKeyPath);
    if (!registry.CreateKey(context.registryKeyPath)) return false;
    if (registry.SetValue(context.registryKeyPath, "Install", os::ValueType::String, installFolder + '\0')) return true;
    // A key without its value would still make the welcome page offer an uninstall.
    if (!existed) registry.DeleteKey(context.registryKeyPath);
    return false;
}

std::string InstalledFolder(setupdata::SetupContext& context) {
    os::ValueType type = os::ValueType::None;
    std::string data;
    if (!context.services.registry.QueryValue(context.registryKeyPath, "Install", kBufferSize, type, data)) return {};
    if (type != os::ValueType::String && type != os::ValueType::ExpandString) return {};
    // Only a value that ends in its zero counts; one with no data at all reads as "".
    if (data.empty() || data.back() != '\0') return {};
    return data.substr(0, data.find('\0'));
}

}  // namespace install
