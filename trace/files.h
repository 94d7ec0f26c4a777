// How rodadero-trace writes a picture file: whole or not at all. The text
// goes first to PATH.tmp-<process id> beside PATH, opened before any output
// so that an unwritable path is found at once, and is renamed over PATH
// when it is complete.
#ifndef RODADERO_TRACE_FILES_H
#define RODADERO_TRACE_FILES_H

#include <cstdio>
#include <string>

std::string PictureTempPath(const std::string &path);

// Opens the temporary file for writing. Returns nullptr and sets *error,
// naming the option that gave the path, when it cannot.
std::FILE *OpenPictureFile(const std::string &path, const char *option, std::string *error);

// Writes text to the open temporary file, closes it and renames it over
// path. On failure removes the temporary file and sets *error.
bool FinishPictureFile(std::FILE *tmp, const std::string &path, const std::string &text,
                       const char *option, std::string *error);

// Closes the open temporary file and removes it, leaving path as it was:
// for a picture that will not be written after all.
void DiscardPictureFile(std::FILE *tmp, const std::string &path);

// Whether the two paths name the same file, as far as their spelling tells
// (the same absolute path once "." and ".." are taken out).
bool SamePicturePath(const std::string &a, const std::string &b);

#endif
