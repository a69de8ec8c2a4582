// The bytes a program has allocated, as an allocation hook reports them: the
// fuzz targets feed it from the sanitizer's malloc hooks, the memory tests
// from their own operator new. Without a hook it stays at zero.
#pragma once

#include <cstddef>

namespace penwick::checks {

void noteAllocated(size_t bytes);
void noteFreed(size_t bytes);
// Whether a hook feeds the meter in this program.
bool meterInstalled();
void setMeterInstalled();

// The peak of the bytes in use over one stretch of work, above what was in
// use when it began.
class PeakMeasure {
  public:
    PeakMeasure();
    size_t peak() const;
    // Every byte allocated during the stretch, freed or not.
    size_t total() const;

  private:
    size_t start_;
    size_t totalStart_;
};

}  // namespace penwick::checks
