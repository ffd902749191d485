# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build.
add_library(velmora_sanitizers INTERFACE)
if(VELMORA_SANITIZE)
  target_compile_options(velmora_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(velmora_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
