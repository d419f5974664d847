# Compile options shared by every target of the project.
add_library(vyk_options INTERFACE)
target_compile_options(vyk_options INTERFACE -Wall -Wextra -Wno-missing-field-initializers)
if(VYK_WERROR)
    target_compile_options(vyk_options INTERFACE -Werror)
endif()
if(VYK_SANITIZE)
    target_compile_options(vyk_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
    target_link_options(vyk_options INTERFACE -fsanitize=address,undefined)
endif()
if(VYK_FUZZ)
    # Coverage for libFuzzer in every unit; the fuzz targets add the fuzzer's own main.
    target_compile_options(vyk_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
target_compile_definitions(vyk_options INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING
    VYK_VERSION="${PROJECT_VERSION}")

# Sources of one layer, picked up from its folders so that a new file needs no list edit.
function(vyk_sources out)
    set(files)
    foreach(dir IN LISTS ARGN)
        file(GLOB_RECURSE found CONFIGURE_DEPENDS
             ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
        list(APPEND files ${found})
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()
