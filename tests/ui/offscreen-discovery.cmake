# Test discovery starts the test binary, which opens a QApplication; without a display it must
# use the offscreen platform too, not only the tests themselves.
if(NOT DEFINED ENV{QT_QPA_PLATFORM})
  set(ENV{QT_QPA_PLATFORM} offscreen)
endif()
