// Picture files written under a temporary name and renamed.
#include "files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

std::string PictureTempPath(const std::string &path)
{
#ifdef _WIN32
    long id = _getpid();
#else
    long id = static_cast<long>(getpid());
#endif
    return path + ".tmp-" + std::to_string(id);
}

std::FILE *OpenPictureFile(const std::string &path, const char *option, std::string *error)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        *error = std::string("rodadero-trace: ") + option + " cannot write '" + path +
                 "': it is a folder";
        return nullptr;
    }
    std::string tmp = PictureTempPath(path);
    std::FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        *error = std::string("rodadero-trace: ") + option + " cannot write '" + path + "': " +
                 std::strerror(errno);
        return nullptr;
    }
    return f;
}

bool FinishPictureFile(std::FILE *tmp, const std::string &path, const std::string &text,
                       const char *option, std::string *error)
{
    std::string tmpPath = PictureTempPath(path);
    bool written = std::fwrite(text.data(), 1, text.size(), tmp) == text.size();
    written = std::fflush(tmp) == 0 && written;
    written = std::fclose(tmp) == 0 && written;
    std::error_code ec;
    if (written)
        std::filesystem::rename(tmpPath, path, ec);
    if (!written || ec) {
        *error = std::string("rodadero-trace: ") + option + " could not write '" + path + "'" +
                 (ec ? ": " + ec.message() : std::string());
        std::remove(tmpPath.c_str());
        return false;
    }
    return true;
}

void DiscardPictureFile(std::FILE *tmp, const std::string &path)
{
    std::fclose(tmp);
    std::remove(PictureTempPath(path).c_str());
}

bool SamePicturePath(const std::string &a, const std::string &b)
{
    if (a.empty() || b.empty())
        return false;
    std::error_code ea, eb;
    std::filesystem::path pa = std::filesystem::absolute(a, ea).lexically_normal();
    std::filesystem::path pb = std::filesystem::absolute(b, eb).lexically_normal();
    return ea || eb ? a == b : pa == pb;
}
