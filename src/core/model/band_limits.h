#pragma once
// The four frequency limits of the band being programmed, in MHz.

#include "model/fields.h"

namespace qtx {

struct BandPlan {
    double RxLow = 136.0;
    double RxHigh = 174.0;
    double TxLow = 136.0;
    double TxHigh = 174.0;

    template <class Ar> void serialize(Ar& ar)
    {
        field(ar, "RxLow", RxLow);
        field(ar, "RxHigh", RxHigh);
        field(ar, "TxLow", TxLow);
        field(ar, "TxHigh", TxHigh);
    }
    friend bool operator==(const BandPlan&, const BandPlan&) = default;
};

} // namespace qtx
