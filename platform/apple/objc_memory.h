// Ownership of Objective-C objects held by C++ objects, written once for both
// ways this code is compiled: with ARC on the target platform (and in the
// type check), and without it where GNUstep runs the wiring tests.
#pragma once

#if __has_feature(objc_arc)
#define VDL_RETAIN(object) (object)
#define VDL_RELEASE(object) ((void)0)
#else
#define VDL_RETAIN(object) [(object) retain]
#define VDL_RELEASE(object) [(object) release]
#endif
