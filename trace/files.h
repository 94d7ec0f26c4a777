// How rodadero-trace writes a picture file: whole or not at all. The text
// goes first to PATH.tmp-<process id> beside PATH, opened before any output
// so that an unwritable path is found at once, and is renamed over PATH
// when it is complete.
#ifndef RODADERO_TRACE_FILES_H
#define RODADERO_TRACE_FILES_H

#include <cstdio>
#include <iosfwd>
#include <string>
#include <vector>

// A picture the options may ask for: the option that names it, its path
// (empty when it is not asked for) and its temporary file once opened.
struct PictureFile {
    std::string option, path;
    std::FILE *file = nullptr;
};

// Opens the temporary file of every picture asked for, in order. When one
// cannot be opened, writes the line that says so (naming its option) to
// err, leaves none behind and returns false.
bool OpenPictureFiles(std::vector<PictureFile> *pictures, std::ostream &err);

// Finishes the picture of `option`, if it was asked for: writes text to
// its temporary file, closes it and renames it over its path. On failure
// removes the temporary file, writes the line that says so to err and
// returns false.
bool Finish(std::vector<PictureFile> &pictures, const std::string &option,
            const std::string &text, std::ostream &err);

// Reads the whole file at `path` into *text; on failure false, and *error
// the line that says why (no newline, no program name).
bool ReadTextFile(const std::string &path, std::string *text, std::string *error);

// Whether the two paths name the same file, as far as their spelling tells
// (the same absolute path once "." and ".." are taken out).
bool SamePicturePath(const std::string &a, const std::string &b);

#endif
