# Proves that a module cannot include a header of a module above it. With the include
# directories of MODULE, a source that includes VISIBLE must compile (so the compiler and the
# directories work), and a source that includes HIDDEN must fail because HIDDEN is not found.
#
#   cmake -DCOMPILER=<c++> -DSTANDARD=<-std=...> -DINCLUDES=<dir|dir|...> -DMODULE=<target>
#         -DVISIBLE=<header> -DHIDDEN=<header> -DSOURCE_DIR=<src> -DWORK_DIR=<dir>
#         -P include_boundary.cmake
foreach(argument COMPILER STANDARD INCLUDES MODULE VISIBLE HIDDEN SOURCE_DIR WORK_DIR)
  if(NOT DEFINED ${argument})
    message(FATAL_ERROR "include_boundary.cmake needs -D${argument}=...")
  endif()
endforeach()

# A header that no longer exists would be "not found" for the wrong reason.
if(NOT EXISTS "${SOURCE_DIR}/${HIDDEN}")
  message(FATAL_ERROR "${SOURCE_DIR}/${HIDDEN} does not exist: name a header that does")
endif()

string(REPLACE "|" ";" include_dirs "${INCLUDES}")
set(flags "")
foreach(dir IN LISTS include_dirs)
  list(APPEND flags "-I${dir}")
endforeach()

# Compiles a source made of one include; sets <status> and <errors> in the caller.
function(compile_include header status errors)
  string(MAKE_C_IDENTIFIER "${header}" name)
  set(source "${WORK_DIR}/${name}.cpp")
  file(WRITE "${source}" "#include \"${header}\"\n")
  execute_process(
    COMMAND "${COMPILER}" ${STANDARD} -fsyntax-only ${flags} "${source}"
    RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_VARIABLE output)
  set(${status} "${result}" PARENT_SCOPE)
  set(${errors} "${output}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY "${WORK_DIR}")

compile_include("${VISIBLE}" status errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${MODULE} should compile an include of ${VISIBLE} but did not:\n${errors}")
endif()

compile_include("${HIDDEN}" status errors)
if(status EQUAL 0)
  message(FATAL_ERROR "${MODULE} compiles an include of ${HIDDEN}, a module above it")
endif()
# GCC and clang say so in these words; a header that is found but fails on its own includes
# does not count.
string(FIND "${errors}" "${HIDDEN}: No such file" gcc_missing)
string(FIND "${errors}" "'${HIDDEN}' file not found" clang_missing)
if(gcc_missing EQUAL -1 AND clang_missing EQUAL -1)
  message(FATAL_ERROR "${MODULE} failed on ${HIDDEN} for another reason than a missing file:\n"
                      "${errors}")
endif()
message(STATUS "${MODULE} sees ${VISIBLE} but not ${HIDDEN}")
