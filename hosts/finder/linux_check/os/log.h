// Stand-in for the Linux check only: os_log's error call as the target
// platform's header makes it. The format must be a string literal (a
// non-literal fails to compile, as there), and clang checks the arguments
// against it, "%{public}@" included.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vdl_os_log_s* os_log_t;
#define OS_LOG_DEFAULT ((os_log_t)0)

void vdl_os_log_error(os_log_t log, const char* format, ...)
    __attribute__((__format__(__os_log__, 2, 3)));

#define os_log_error(log, format, ...) vdl_os_log_error(log, "" format "", ##__VA_ARGS__)

#ifdef __cplusplus
}
#endif
