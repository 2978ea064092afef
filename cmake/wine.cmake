# Running Windows test programs under Wine: a private prefix inside the build
# tree and one persistent wineserver per test run (the "wine" test fixture).
if(NOT CUMULON_WINDOWS)
  return()
endif()

find_program(WINE_EXECUTABLE wine REQUIRED)
find_program(WINESERVER_EXECUTABLE wineserver REQUIRED)
find_program(XVFB_EXECUTABLE Xvfb REQUIRED)

set(CUMULON_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(CUMULON_WINEPREFIX ${CUMULON_WINE_DIR}/prefix)
set(CUMULON_WINE_TEMPLATE ${CUMULON_WINE_DIR}/template)
set(CUMULON_WINE_ENV
  WINEPREFIX=${CUMULON_WINEPREFIX}
  WINEDEBUG=-all
  WINEDLLOVERRIDES=mscoree,mshtml,winealsa.drv,winepulse.drv=)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND};-E;env;${CUMULON_WINE_ENV};${WINE_EXECUTABLE})
