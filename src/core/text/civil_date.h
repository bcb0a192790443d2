#pragma once
// A calendar date as the pages print it, read from the clock by the caller.

namespace pictavo {

struct CivilDate {
  int year = 2000;
  int month = 1;
  int day = 1;
};

}  // namespace pictavo
