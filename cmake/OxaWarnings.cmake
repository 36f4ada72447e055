# Warnings on our own code only (JUCE's own sources are compiled in oxa_juce without them).
add_library(oxa_warnings INTERFACE)
target_compile_options(oxa_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)
