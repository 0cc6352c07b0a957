#include "StallTest.h"

StallTest::Action StallTest::tick(const TickSample& sample)
{
    if (sample.engine == TickEngineNone) {
        known_ = false;
        unchanged_ = 0;
        endSent_ = false;
        return Nothing;
    }
    if (!known_ || sample.position != last_ || sample.engine == TickEngineDirectMusic) {
        known_ = true;
        last_ = sample.position;
        unchanged_ = 0;
        endSent_ = false;
        return Refresh;
    }
    // Other engines report their end themselves.
    if (sample.engine != TickEngineMci && sample.engine != TickEngineDirectShow)
        return Nothing;
    if (++unchanged_ < 2 || endSent_)
        return Nothing;
    endSent_ = true;
    return EndOfMedium;
}
