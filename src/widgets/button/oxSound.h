#pragma once

// What a component linked as one of the button's sounds must offer. A
// linked QObject implements it alongside QObject.
class IoxSound
{
public:
    virtual ~IoxSound() = default;
    virtual void Play() = 0;
    virtual bool IsPlaying() const = 0;
};
