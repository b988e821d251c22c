// Stand-in for the Linux check only, included before the POSIX file system
// when it is checked as the target platform builds it: Darwin's calls and
// names where Linux has others.
#pragma once

#include <sys/stat.h>

#ifdef __cplusplus
extern "C" {
#endif
// Renames relative to folder descriptors; RENAME_EXCL fails when `to` exists.
int renameatx_np(int fromfd, const char* from, int tofd, const char* to, unsigned int flags);
#ifdef __cplusplus
}
#endif
#define RENAME_EXCL 0x00000004
// fcntl: flush the drive's cache as well.
#define F_FULLFSYNC 51
// Darwin's struct stat names the modification time st_mtimespec.
#define st_mtimespec st_mtim
