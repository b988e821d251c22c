# Writes `out`: GCC's objc/runtime.h (`in`) as clang's ARC type check needs it.
# Under ARC an id can't be dereferenced without a bridged cast, a returned
# Protocol ** must say it holds unretained pointers, and the quoted includes
# must find GCC's other runtime headers from the copy's folder.
file(READ "${in}" text)
string(REPLACE "return object->class_pointer;"
  "return ((__bridge struct objc_object *)object)->class_pointer;" text "${text}")
string(REGEX REPLACE "#include \"(objc[a-z-]*\\.h)\"" "#include <objc/\\1>" text "${text}")
string(REPLACE "Protocol **" "Protocol * __unsafe_unretained *" text "${text}")
file(WRITE "${out}" "${text}")
