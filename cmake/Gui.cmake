# The desktop programs: wxWidgets 3.2 (Debian: libwxgtk3.2-dev) and the
# gettext catalogue of their Russian user interface (msgfmt from gettext).
find_package(wxWidgets 3.2 COMPONENTS propgrid core base)
find_program(MSGFMT_EXECUTABLE msgfmt)
set(VOXAMEN_GUI OFF)
if(wxWidgets_FOUND)
  set(VOXAMEN_GUI ON)
else()
  message(WARNING "wxWidgets 3.2 not found: setvane and accentor are not built")
endif()

if(VOXAMEN_GUI)
  include(${wxWidgets_USE_FILE})

  # The catalogue: po/ru.po → build/share/locale/ru/LC_MESSAGES/voxamen.mo,
  # found by the programs from build/bin.
  set(VOXAMEN_LOCALE_DIR ${CMAKE_BINARY_DIR}/share/locale)
  set(mo ${VOXAMEN_LOCALE_DIR}/ru/LC_MESSAGES/voxamen.mo)
  if(MSGFMT_EXECUTABLE)
    add_custom_command(OUTPUT ${mo}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VOXAMEN_LOCALE_DIR}/ru/LC_MESSAGES
      COMMAND ${MSGFMT_EXECUTABLE} --check -o ${mo} ${PROJECT_SOURCE_DIR}/po/ru.po
      DEPENDS ${PROJECT_SOURCE_DIR}/po/ru.po
      COMMENT "Compiling the Russian catalogue")
    add_custom_target(voxamen-translations ALL DEPENDS ${mo})
  else()
    message(WARNING "msgfmt not found: the programs show English only")
    add_custom_target(voxamen-translations)
  endif()

  # The programs' shared wx layer: dialog message sink and translations.
  add_library(voxamen-wx STATIC ${PROJECT_SOURCE_DIR}/platform/wx/WxSupport.cpp)
  target_link_libraries(voxamen-wx PUBLIC voxamen-platform ${wxWidgets_LIBRARIES})
  add_dependencies(voxamen-wx voxamen-translations)
  if(VOXAMEN_SANITIZE)
    # wx's inline event dispatch casts handlers between wxEvtHandler
    # classes, which the vptr check can report inside wx's own headers;
    # every other check stays on.
    target_compile_options(voxamen-wx PUBLIC -fno-sanitize=vptr)
  endif()
endif()
