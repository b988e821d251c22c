// Ownership of Objective-C objects held by C++ objects, written once for both
// ways this code is compiled: with ARC on the target platform (and in the
// type check), and without it where GNUstep runs the wiring tests.
#pragma once

#include <Block.h>

// A block goes to the heap with the blocks runtime's own calls: under GCC's
// runtime a block is no Objective-C object to send -copy to.
#if __has_feature(objc_arc)
#define VDL_RETAIN(object) (object)
#define VDL_RELEASE(object) ((void)0)
#define VDL_AUTORELEASE(object) (object)
#define VDL_BLOCK_COPY(block) (block)
#define VDL_BLOCK_RELEASE(block) ((void)0)
#else
#define VDL_RETAIN(object) [(object) retain]
#define VDL_RELEASE(object) [(object) release]
#define VDL_AUTORELEASE(object) [(object) autorelease]
#define VDL_BLOCK_COPY(block) Block_copy(block)
#define VDL_BLOCK_RELEASE(block) Block_release(block)
#endif
