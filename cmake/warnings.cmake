# Warnings are errors in every target of the project (not in GoogleTest).
function(meridel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Werror)
  if(WIN32)
    # Only the explicit A and W forms of the Win32 calls are used.
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()

if(NOT WIN32 AND MERIDEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()
