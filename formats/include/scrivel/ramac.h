// RAMAC RAD/RD3: the text header record. Allocated with new by the library;
// the caller releases it with delete.
#pragma once

#include <cstdint>
#include <string>

#include "scrivel/scrivel.h"

struct RamacFHdr {
  int32_t samples = 0;             // SAMPLES:
  float frequency = 0;             // FREQUENCY: sampling frequency, MHz
  int32_t frequencySteps = 0;      // FREQUENCY STEPS:
  float signalPosition = 0;        // SIGNAL POSITION:
  int32_t rawSignalPosition = 0;   // RAW SIGNAL POSITION:
  int32_t distanceFlag = 0;        // DISTANCE FLAG:
  int32_t timeFlag = 0;            // TIME FLAG:
  int32_t programFlag = 0;         // PROGRAM FLAG:
  int32_t externalFlag = 0;        // EXTERNAL FLAG:
  float timeInterval = 0;          // TIME INTERVAL:
  float distanceInterval = 0;      // DISTANCE INTERVAL:
  std::string operatorName;        // OPERATOR:
  std::string customer;            // CUSTOMER:
  std::string site;                // SITE:
  std::string antennas;            // ANTENNAS:
  std::string antennaOrientation;  // ANTENNA ORIENTATION:
  float antennaSeparation = 0;     // ANTENNA SEPARATION:
  std::string comment;             // COMMENT:
  float timeWindow = 0;            // TIMEWINDOW:
  int32_t stacks = 0;              // STACKS:
  int32_t stackExponent = 0;       // STACK EXPONENT:
  float stackingTime = 0;          // STACKING TIME:
  int32_t lastTrace = 0;           // LAST TRACE: number of traces
  float stopPosition = 0;          // STOP POSITION:
  float systemCalibration = 0;     // SYSTEM CALIBRATION:
};
