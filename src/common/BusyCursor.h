// The hourglass for the length of one piece of work, gone again however the work ends.
#pragma once

#include "common/Operator.h"

namespace kibic {

class BusyCursor
{
public:
    explicit BusyCursor(Operator& op)
        : m_operator(op)
    {
        m_operator.SetBusyCursor(true);
    }
    ~BusyCursor() { Restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // The normal cursor before the work ends (before a message to the operator).
    void Restore()
    {
        if (m_busy)
            m_operator.SetBusyCursor(false);
        m_busy = false;
    }

private:
    Operator& m_operator;
    bool m_busy = true;
};

} // namespace kibic
