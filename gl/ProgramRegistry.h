// The process-wide registry of the demo's three programs and the notion of the current one.
#pragma once

#include "gl/Matrix4.h"
#include "gl/Program.h"

#include <vector>

namespace DMGL {

enum ProgramIndex { TitleProgram = 0, MetaballsProgram = 1, PassThroughProgram = 2 };

// Compiles the embedded shader texts and links programs 0 (title), 1 (metaballs) and
// 2 (pass-through), all sharing one vertex shader object. Needs a current GL context.
// Throws std::runtime_error, naming the shader or program, if a compile or link fails.
void init();

// Deletes the programs and their shader objects; call while the context still exists.
void release();

// Makes program `index` (0 to 2) current and uses it.
void useProgram(int index);

// On the current program: the uniform "projection", and "time" in single precision.
void setProjection(const Matrix4& matrix);
void setTime(double seconds);

// The current program; valid only after useProgram.
const Program& current();

// The registry's programs, in index order.
const std::vector<Program>& programs();

} // namespace DMGL
