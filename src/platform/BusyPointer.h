#pragma once

namespace platform::busy {

// The program-wide mouse pointer: the hourglass while a record source works, the arrow once
// a record is current again. Setting it twice does not stack.
void setBusy();
void setNormal();
bool isBusy();

// The hourglass for the span of one action of a record source. An action inside another
// leaves the pointer to the outer one, which restores the arrow when it ends.
class Scope
{
public:
    Scope() : m_owner(!isBusy()) { setBusy(); }
    ~Scope()
    {
        if (m_owner)
            setNormal();
    }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

private:
    bool m_owner;
};

} // namespace platform::busy
