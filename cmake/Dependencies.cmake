# Every dependency is a Debian package (tools/setup.sh installs them).
# vornhalt_deps carries them all, so the library and its tests link one target.
find_package(PkgConfig REQUIRED)
find_package(OpenGL REQUIRED)
find_package(X11 REQUIRED)
find_package(glfw3 3.3 REQUIRED)
find_package(GLEW REQUIRED)
find_package(assimp REQUIRED)
find_package(Freetype REQUIRED)
find_package(glm REQUIRED)
find_package(fmt REQUIRED)
find_package(spdlog REQUIRED)
# Module mode: Debian's BulletConfig.cmake carries paths relative to a prefix that is not there.
find_package(Bullet MODULE REQUIRED)
pkg_check_modules(INIReader REQUIRED IMPORTED_TARGET INIReader)
pkg_check_modules(uuid REQUIRED IMPORTED_TARGET uuid)
pkg_check_modules(stb REQUIRED IMPORTED_TARGET stb)

add_library(vornhalt_bullet INTERFACE)
target_include_directories(vornhalt_bullet SYSTEM INTERFACE ${BULLET_INCLUDE_DIRS})
target_link_libraries(vornhalt_bullet INTERFACE ${BULLET_LIBRARIES})

add_library(vornhalt_deps INTERFACE)
target_link_libraries(vornhalt_deps INTERFACE
  OpenGL::GL glfw GLEW::GLEW assimp::assimp Freetype::Freetype glm::glm
  fmt::fmt spdlog::spdlog vornhalt_bullet
  PkgConfig::INIReader PkgConfig::uuid PkgConfig::stb
  X11::X11 X11::Xi X11::Xtst ${CMAKE_DL_LIBS})
