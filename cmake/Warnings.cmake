# Every warning on in our own code; generated Qt sources get the same flags.
add_compile_options(-Wall -Wextra)

# Warnings stop development and CI builds (scripts/test.sh and CI turn this on). A release or a
# package is built with whatever compiler its builder has, where a new warning must not be a trap.
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
    set(velk_werror_default OFF)
else()
    set(velk_werror_default ON)
endif()
option(VELK_WERROR "Treat compiler warnings as errors" ${velk_werror_default})
if(VELK_WERROR)
    add_compile_options(-Werror)
endif()
