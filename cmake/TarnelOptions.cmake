# Options every Tarnel target shares. The double arithmetic is part of the
# results, so floating-point contraction is off and fast-math never used.
add_library(tarnel_options INTERFACE)
add_library(Tarnel::options ALIAS tarnel_options)
target_compile_options(tarnel_options INTERFACE -Wall -Wextra -Wpedantic -ffp-contract=off)
if(TARNEL_WERROR)
  target_compile_options(tarnel_options INTERFACE -Werror)
endif()
if(TARNEL_FUZZ)
  target_compile_options(tarnel_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=undefined)
  target_link_options(tarnel_options INTERFACE -fsanitize=address,undefined)
elseif(TARNEL_SANITIZE_THREAD)
  target_compile_options(tarnel_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(tarnel_options INTERFACE -fsanitize=thread)
elseif(TARNEL_SANITIZE)
  target_compile_options(tarnel_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tarnel_options INTERFACE -fsanitize=address,undefined)
endif()

# The project's version, for both programs.
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarnel_version.h.in ${CMAKE_BINARY_DIR}/generated/tarnel_version.h @ONLY)
target_include_directories(tarnel_options INTERFACE ${CMAKE_BINARY_DIR}/generated)
