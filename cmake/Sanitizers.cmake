if(VELK_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
elseif(VELK_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT VELK_SANITIZE STREQUAL "")
    message(FATAL_ERROR "VELK_SANITIZE must be '', 'address' or 'thread'")
endif()

# Fuzz builds give every library coverage instrumentation, so libFuzzer sees the paths inside the
# code it feeds and not only those of the fuzz target itself.
if(VELK_BUILD_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
