// A 4x4 single-precision matrix in column-major order, as glUniformMatrix4fv expects it.
#pragma once

#include <algorithm>
#include <memory>

namespace DMGL {

class Matrix4 {
public:
    // Copies 16 floats; element 4*c + r is row r of column c.
    explicit Matrix4(const float* values) : elements(new float[16]) {
        std::copy(values, values + 16, elements.get());
    }

    const float* data() const { return elements.get(); }
    float at(int row, int column) const { return elements[4 * column + row]; }

private:
    std::unique_ptr<float[]> elements;
};

} // namespace DMGL
