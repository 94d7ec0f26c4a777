// Picture files written under a temporary name and renamed.
#include "files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <ostream>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

std::string TempPath(const PictureFile &picture)
{
#ifdef _WIN32
    long id = _getpid();
#else
    long id = static_cast<long>(getpid());
#endif
    return picture.path + ".tmp-" + std::to_string(id);
}

// Closes and removes every temporary file opened so far.
void Discard(std::vector<PictureFile> *pictures)
{
    for (PictureFile &p : *pictures)
        if (p.file) {
            std::fclose(p.file);
            std::remove(TempPath(p).c_str());
            p.file = nullptr;
        }
}

} // namespace

bool OpenPictureFiles(std::vector<PictureFile> *pictures, std::ostream &err)
{
    for (PictureFile &p : *pictures) {
        if (p.path.empty())
            continue;
        std::error_code ec;
        bool folder = std::filesystem::is_directory(p.path, ec);
        p.file = folder ? nullptr : std::fopen(TempPath(p).c_str(), "wb");
        if (p.file)
            continue;
        std::string why = folder ? "it is a folder" : std::strerror(errno);
        err << "rodadero-trace: " << p.option << " cannot write '" << p.path << "': " << why
            << '\n';
        Discard(pictures);
        return false;
    }
    return true;
}

bool Finish(std::vector<PictureFile> &pictures, const std::string &option,
            const std::string &text, std::ostream &err)
{
    for (PictureFile &p : pictures) {
        if (p.option != option || !p.file)
            continue;
        bool written = std::fwrite(text.data(), 1, text.size(), p.file) == text.size();
        written = std::fflush(p.file) == 0 && written;
        written = std::fclose(p.file) == 0 && written;
        p.file = nullptr;
        std::error_code ec;
        if (written)
            std::filesystem::rename(TempPath(p), p.path, ec);
        if (!written || ec) {
            err << "rodadero-trace: " << p.option << " could not write '" << p.path << "'"
                << (ec ? ": " + ec.message() : std::string()) << '\n';
            std::remove(TempPath(p).c_str());
            return false;
        }
    }
    return true;
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

bool ReadTextFile(const std::string &path, std::string *text, std::string *error)
{
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        *error = "it is a folder";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = std::strerror(errno);
        return false;
    }
    std::ostringstream read;
    read << file.rdbuf();
    if (file.bad()) {
        *error = "it cannot be read";
        return false;
    }
    *text = read.str();
    return true;
}
