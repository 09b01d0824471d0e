# Sources of the virtual drive's burn side (kept apart so it can grow on its own).
set(TWR_VIRTUAL_BURN_SOURCES
  virtual/VirtualBurnSide.cpp
  virtual/VirtualBurnFaults.cpp
  virtual/VirtualBurnPng.cpp
  virtual/EtchedStream.cpp
  virtual/EtchedMarksFile.cpp
)
