# Project-wide compile settings, applied to each target with korv_settings().
add_library(korv_settings INTERFACE)
target_compile_options(korv_settings INTERFACE -Wall -Wextra -Wpedantic)
if(KORV_WERROR)
    target_compile_options(korv_settings INTERFACE -Werror)
endif()
if(KORV_ASAN)
    target_compile_options(korv_settings INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(korv_settings INTERFACE -fsanitize=address,undefined)
endif()
