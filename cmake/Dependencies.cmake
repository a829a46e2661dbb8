# All dependencies come from Debian packages (see the Makefile's deps target);
# nothing is downloaded at build time.
find_package(Threads REQUIRED)
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets SerialPort Charts Svg PrintSupport Sql)
if(VANTREL_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
