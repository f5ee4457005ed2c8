#include "install/file_copier.h"

#include <new>

#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/format.h"
#include "support/shown_texts.h"

namespace install {

bool ApplyFileStatus(os::FileSystem& fs, const std::string& path, const FileStatus& status) {
    std::uint32_t current = 0;
    if (!fs.GetAttributes(path, current)) return false;
    const std::uint32_t wanted = status.attributes;
    // A read-only file takes no new times, so its attributes go first.
    if (current != wanted && (current & 0x01) && !fs.SetAttributes(path, wanted)) return false;
    if (status.writeTime != 0) {
        std::uint64_t write = os::LocalSecondsToFileTime(status.writeTime);
        std::uint64_t access = status.accessTime ? os::LocalSecondsToFileTime(status.accessTime) : 0;
        std::uint64_t creation = status.creationTime ? os::LocalSecondsToFileTime(status.creationTime) : 0;
        if (!fs.SetFileTimes(path, status.creationTime ? &creation : nullptr, status.accessTime ? &access : nullptr,
                             &write))
            return false;
    }
    if (current != wanted && !(current & 0x01) && !fs.SetAttributes(path, wanted)) return false;
    return true;
}

FileCopier::FileCopier(ui::WindowSystem& ws, os::FileSystem& fs, const std::string& sourceFolder,
                       const std::string& installFolder, const std::string& relativePath)
    : fs_(fs), source_(fs), destination_(fs) {
    ready = Start(ws, sourceFolder, installFolder, relativePath);
}

bool FileCopier::Start(ui::WindowSystem& ws, const std::string& sourceFolder, const std::string& installFolder,
                       const std::string& relativePath) {
    auto fail = [&](std::string_view format) {
        ws.ShowMessageBox(nullptr, support::FormatText(format, relativePath),
                          std::string(support::texts::kCopyErrorCaption), ui::kMbOk | ui::kMbIconInformation);
        return false;
    };
    const std::string sourcePath = support::WithTrailingBackslash(sourceFolder) + relativePath;
    if (!QueryFileStatus(fs_, sourcePath, status_)) return fail(support::texts::kFileNotFoundFormat);
    if (!source_.OpenWithFlags(sourcePath, setupdata::kModeRead)) return fail(support::texts::kOpenReadFailedFormat);
    // The buffer comes before the copy is made, so a copier that cannot start leaves no file the
    // install has not recorded.
    try {
        buffer_.Resize(CopyChunkSize);
    } catch (const std::bad_alloc&) {
    }
    if (buffer_.Count() != CopyChunkSize) return fail(support::texts::kMemoryFailed);
    destinationPath_ = support::WithTrailingBackslash(installFolder) + relativePath;
    // The install has put any file of that name aside: what stands there now is no one's to truncate.
    if (!destination_.OpenWithFlags(destinationPath_,
                                    setupdata::kModeCreate | setupdata::kModeNew | setupdata::kModeWrite))
        return fail(support::texts::kOpenWriteFailedFormat);
    return true;
}

CopyResult FileCopier::CopyStep() {
    if (!ready) return CopyError;
    // Ask for no more than the rest of the file and one byte, which still shows a file that grew:
    // under Wine every page a read may fill is touched first, and a small file would otherwise
    // pay for the whole chunk's pages.
    const std::uint64_t rest = bytesCopied < status_.size ? status_.size - bytesCopied : 0;
    const std::size_t want = rest < CopyChunkSize ? static_cast<std::size_t>(rest) + 1 : CopyChunkSize;
    std::size_t got = 0;
    if (!source_.ReadSome(buffer_.Get(), want, got)) return CopyError;
    if (got > 0 && !destination_.Write(buffer_.Get(), got)) return CopyError;
    bytesCopied += got;
    // A source that grew can never end at its size; one that ended early would be read for ever.
    if (bytesCopied > status_.size) return CopyError;
    if (bytesCopied != status_.size) return got == 0 ? CopyError : CopyContinue;
    bool flushed = destination_.Flush();
    source_.Close();
    destination_.Close();
    ready = false;  // both files are closed; a further step has nothing to read
    FileStatus stamped = status_;
    stamped.attributes &= static_cast<std::uint8_t>(~0x01);
    return flushed && ApplyFileStatus(fs_, destinationPath_, stamped) ? CopyComplete : CopyError;
}

}  // namespace install
