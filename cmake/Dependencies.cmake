# All dependencies come from Debian packages (see the Makefile's deps target);
# nothing is downloaded at build time.
find_package(Threads REQUIRED)
# The command-line tool and the simulator need QtCore, QtGui (pictures, PDF), QtSerialPort and
# QtSql (the history); the desktop program adds the widgets, charts, SVG pictures and printing.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui SerialPort Sql)
if(VANTREL_BUILD_GUI)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Charts Svg PrintSupport)
endif()
if(VANTREL_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
