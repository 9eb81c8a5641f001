#pragma once

// Root of the data classes: a data set is destroyed through this base.
class ObrData {
public:
    virtual ~ObrData() = default;
};
