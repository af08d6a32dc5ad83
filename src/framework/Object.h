// The root of the framework's class tree.
#pragma once

class CObject
{
  public:
    virtual ~CObject() = default;
};
