// The process-wide registry of the demo's programs and the notion of the current one.
#pragma once

#include "gl/Matrix4.h"
#include "gl/Program.h"

#include <string>
#include <vector>

namespace DMGL {

enum ProgramIndex { TitleProgram = 0, MetaballsProgram = 1, PassThroughProgram = 2 };

// The title text is built in variants, each a prologue of defines before the text: the star
// drawn by angle sums (Shape), by its literal arithmetic (Exact) or not at all, under a fixed
// number of elements from 0 to kTitleMaxElements.
enum class TitleStar { None, Shape, Exact };
constexpr int kTitleMaxElements = 2;
constexpr int kProgramCount = 3 + 3 * (kTitleMaxElements + 1) - 2;

// The registry index of a title variant; TitleProgram is the one without star and with one
// element. Throws std::invalid_argument for no star and no element, which draws nothing, or
// for more elements than kTitleMaxElements.
int titleProgram(TitleStar star, int elements);

// The defines that make a title variant.
std::string titleVariantPrologue(TitleStar star, int elements);

// Builds the registry a program at a time: compiles the embedded shader texts of the next
// program not yet built and links it, in index order: 0 (title), 1 (metaballs), 2 (pass-through),
// then the other title variants from 3 on, all sharing one vertex shader object (compiled by the
// first call). Needs a current GL context. Returns whether programs are left to build; false,
// doing nothing, once all are built.
// Throws std::runtime_error, naming the shader or program, if a compile or link fails.
bool buildNext();

// How many programs are built: those with indices 0 to builtCount() - 1.
int builtCount();

// Deletes the programs and their shader objects; call while the context still exists.
void release();

// Makes program `index` (0 to kProgramCount - 1) current and uses it.
void useProgram(int index);

// On the current program: the uniform "projection", and "time" in single precision.
void setProjection(const Matrix4& matrix);
void setTime(double seconds);

// The current program; valid only after useProgram.
const Program& current();

// The registry's programs, in index order.
const std::vector<Program>& programs();

} // namespace DMGL
