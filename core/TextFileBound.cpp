#include "core/TextFileBound.h"

#include <filesystem>
#include <istream>
#include <system_error>

namespace brevimar {

std::string TextFileTooLargeProblem(std::uintmax_t size)
{
    const std::string limit = std::to_string(MaxTextFileBytes);
    if (size == 0)
        return "the file holds more than the " + limit + " bytes any file of its kind may hold";
    return "the file holds " + std::to_string(size) + " bytes, more than the " + limit +
           " any file of its kind may hold";
}

BoundedReadResult ReadBoundedText(std::istream& in, const std::string& path, std::string* text,
                                  std::uintmax_t* size)
{
    std::error_code error;
    *size = std::filesystem::file_size(path, error);
    if (error)
        *size = 0;
    if (*size > MaxTextFileBytes)
        return BoundedReadResult::TooLarge;
    std::string content;
    // A file of known size is held in one block of its size, not grown to
    // twice what it holds; only a stream of no known size grows as it is read.
    content.reserve(*size);
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        if (content.size() + static_cast<std::size_t>(in.gcount()) > MaxTextFileBytes) {
            // Past the bound, a size taken before the read (of a file that
            // has grown since) is not what the file holds.
            *size = 0;
            return BoundedReadResult::TooLarge;
        }
        content.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        return BoundedReadResult::Failed;
    *text = std::move(content);
    return BoundedReadResult::Read;
}

BoundedReadResult ReadBoundedFile(const std::string& path, std::string* text, std::uintmax_t* size)
{
    *size = 0;
    InputFile in(path);
    if (!in.is_open())
        return BoundedReadResult::Failed;
    std::string content;
    const BoundedReadResult result = ReadBoundedText(in, path, &content, size);
    if (result != BoundedReadResult::Read)
        return result;
    // The start of a file is not the file: one cut short is refused, even
    // empty, rather than read as if it had ended there.
    if (in.Stalled()) {
        *size = content.size();
        return BoundedReadResult::Stalled;
    }
    *text = std::move(content);
    return BoundedReadResult::Read;
}

}  // namespace brevimar
