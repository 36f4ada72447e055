# JUCE is compiled once, into the static library oxa_juce. Everything that uses
# JUCE links it and gets the module include paths and JUCE_* definitions from it.
# Every JUCE_* switch of the project is set here and nowhere else.

pkg_check_modules(OXA_CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(OXA_ALSA REQUIRED IMPORTED_TARGET alsa)
pkg_check_modules(OXA_FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(OXA_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(OXA_GL REQUIRED IMPORTED_TARGET gl glu)
# Debian's JUCE uses the system's image and compression libraries.
pkg_check_modules(OXA_IMAGE REQUIRED IMPORTED_TARGET libpng libjpeg zlib)

add_library(oxa_juce STATIC)

target_link_libraries(oxa_juce
    PRIVATE
        juce::juce_core
        juce::juce_events
        juce::juce_data_structures
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_gui_extra
        juce::juce_audio_basics
        juce::juce_audio_devices
        juce::juce_audio_formats
        juce::juce_audio_processors
        juce::juce_audio_utils
        juce::juce_opengl
        juce::juce_recommended_config_flags
    PUBLIC
        PkgConfig::OXA_CURL
        PkgConfig::OXA_ALSA
        PkgConfig::OXA_FREETYPE
        PkgConfig::OXA_FONTCONFIG
        PkgConfig::OXA_GL
        PkgConfig::OXA_IMAGE
        ${CMAKE_DL_LIBS}
        pthread
        rt)

target_compile_definitions(oxa_juce
    PUBLIC
        JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
        JUCE_STANDALONE_APPLICATION=1
        JUCE_USE_CURL=1
        JUCE_LOAD_CURL_SYMBOLS_LAZILY=0
        JUCE_WEB_BROWSER=0
        JUCE_ALSA=1
        JUCE_JACK=1
        JUCE_USE_FLAC=0
        JUCE_USE_OGGVORBIS=0
        JUCE_USE_MP3AUDIOFORMAT=1
        JUCE_PLUGINHOST_VST=0
        JUCE_PLUGINHOST_VST3=0
        JUCE_PLUGINHOST_LADSPA=0
        JUCE_PLUGINHOST_LV2=0
        JUCE_USE_XRANDR=1
        JUCE_USE_XINERAMA=1
        JUCE_USE_XSHM=1
        JUCE_USE_XRENDER=0
        JUCE_USE_XCURSOR=1
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_STRICT_REFCOUNTEDPOINTER=1
        JUCE_SILENCE_XCODE_15_LINKER_WARNING=1
        JUCE_CHECK_MEMORY_LEAKS=0)

# Re-export what the PRIVATE module targets gave oxa_juce.
target_include_directories(oxa_juce SYSTEM INTERFACE
    $<TARGET_PROPERTY:oxa_juce,INCLUDE_DIRECTORIES>)
target_compile_definitions(oxa_juce INTERFACE
    $<TARGET_PROPERTY:oxa_juce,COMPILE_DEFINITIONS>)
