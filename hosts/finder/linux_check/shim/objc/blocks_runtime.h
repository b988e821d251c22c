// Stand-in for the Linux check only: GNUstep's headers include libobjc2's
// blocks header; with GCC's runtime, the blocks runtime's own header serves.
#include <Block.h>
