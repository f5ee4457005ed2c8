#include <cstdio>

#include "platform/size_text.h"
#include "tools/report_output.h"

namespace tools {
namespace {

const char* SeverityName(setupdata::Severity s) { return s == setupdata::Severity::Error ? "error" : "warning"; }

std::string Plural(std::size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

}  // namespace

std::string JsonUtf8(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            out += esc;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void PrintReport(std::FILE* out, const setupdata::CheckReport& r) {
    for (const auto& f : r.findings) {
        std::string where = r.file + (f.line ? ":" + std::to_string(f.line) : std::string());
        std::fprintf(out, "%s: %s: %s%s%s\n", where.c_str(), SeverityName(f.severity), f.key.c_str(),
                     f.key.empty() ? "" : ": ", f.message.c_str());
    }
    for (const auto& t : r.types)
        std::fprintf(out, "%s: %zu files, %llu bytes, shown as \"%s\"\n", setupdata::InstallTypeName(t.type), t.files,
                     static_cast<unsigned long long>(t.bytes), platform::FormatSizeText(t.bytes).c_str());
    std::string read = r.encoding.empty() ? r.file : r.file + " (" + r.encoding + ")";
    std::fprintf(out, "%s: %s, %s\n", read.c_str(), Plural(r.count(setupdata::Severity::Error), "error").c_str(),
                 Plural(r.count(setupdata::Severity::Warning), "warning").c_str());
}

void PrintReportJson(std::FILE* out, const setupdata::CheckReport& r) {
    std::fprintf(out, "{\n  \"file\": %s,\n", JsonUtf8(r.file).c_str());
    if (!r.encoding.empty()) std::fprintf(out, "  \"encoding\": %s,\n", JsonUtf8(r.encoding).c_str());
    std::fprintf(out, "  \"errors\": %zu,\n  \"warnings\": %zu,\n", r.count(setupdata::Severity::Error),
                 r.count(setupdata::Severity::Warning));
    if (!r.types.empty()) {
        std::fprintf(out, "  \"types\": [");
        for (std::size_t i = 0; i < r.types.size(); ++i) {
            const auto& t = r.types[i];
            std::fprintf(out, "%s\n    {\"type\": %d, \"files\": %zu, \"bytes\": %llu, \"sizeText\": %s}", i ? "," : "",
                         t.type, t.files, static_cast<unsigned long long>(t.bytes),
                         JsonUtf8(platform::FormatSizeText(t.bytes)).c_str());
        }
        std::fprintf(out, "\n  ],\n");
    }
    std::fprintf(out, "  \"problems\": [");
    for (std::size_t i = 0; i < r.findings.size(); ++i) {
        const auto& f = r.findings[i];
        std::fprintf(out, "%s\n    {\"severity\": \"%s\", \"line\": %zu, \"key\": %s, \"message\": %s}", i ? "," : "",
                     SeverityName(f.severity), f.line, JsonUtf8(f.key).c_str(), JsonUtf8(f.message).c_str());
    }
    std::fprintf(out, "%s]\n}\n", r.findings.empty() ? "" : "\n  ");
}

}  // namespace tools
