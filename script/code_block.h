// CodeBlock: an instruction sequence with its label table, shared by every
// copy of a function object and copied only before it is written to.
#pragma once

#include "opcode.h"
#include "pool.h"

#include <string>
#include <string_view>
#include <vector>

namespace Kel {

class MemberTable;
class ExecForm;

// Where an instruction came from: the source file's name (null when not
// known, as for compiled files) and its line, so a host can say where a
// stopped script was.
struct SourcePlace {
    const std::string* file = nullptr;
    int line = 0;
};

class CodeBlock {
public:
    // A new empty block with one reference.
    static CodeBlock* create();

    void addRef() { ++m_references; }
    void release();
    bool isShared() const { return m_references != 1; }
    int references() const { return m_references; }

    // A new block (one reference) made by cloning every instruction in order
    // through append(); labels are not copied.
    CodeBlock* copy() const;

    int size() const { return static_cast<int>(m_ops.size()); }
    OpCode* at(int index) const { return m_ops[static_cast<size_t>(index)]; }
    // The instructions in order. A block never changes while a scope runs it:
    // the scope holds a reference, so a writer gets a copy (copy on write).
    OpCode* const* instructions() const { return m_ops.data(); }
    // Kind of the instruction at `index`; KIND_END_OF_BLOCK (255) at or past the end.
    int kindAt(int index) const {
        if (index < 0 || index >= size()) return KIND_END_OF_BLOCK;
        return m_ops[static_cast<size_t>(index)]->kind();
    }

    // Appends through the code generator's appender, which may optimise; the
    // block owns `op` from now on (it may be deleted by the optimiser).
    void append(OpCode* op);
    // Appends with no optimisation (the appender itself uses this).
    void appendRaw(OpCode* op) {
        // Most blocks are a branch or a loop body of a few instructions: room
        // for them at once saves the growth steps through one, two and four.
        if (m_ops.empty()) reserveFew();
        if (m_form) dropForm();
        m_ops.push_back(op);
        noteLine(size() - 1, s_place.line);
        if (!m_file) m_file = s_place.file;
    }
    // Moves every instruction of `from` (with its line) to the end of this
    // block, past the optimiser, and drops `from`. `from` must be a block
    // that only the caller holds and that has no labels.
    void appendMoved(CodeBlock* from);
    // Removes and deletes the last instruction, if any.
    void removeLast();
    // Replaces the instruction at `index` (deleting the old one).
    void replace(int index, OpCode* op);
    // Points the jump at `index` to `target` (the code generator's fix-ups).
    void setTarget(int index, int target);

    // What the run loop executes, derived from the instructions when first
    // asked for and dropped whenever they change.
    const ExecForm& execForm() {
        if (!m_form) buildForm();
        return *m_form;
    }

    // The place of the instruction at `index`.
    SourcePlace placeAt(int index) const;
    // Instructions appended from now on come from this place; the file name
    // is kept for the whole process (each name once), so places stay valid.
    static void setSourcePlace(std::string_view file, int line);
    static void setSourceLine(int line) { s_place.line = line; }
    static int sourceLine() { return s_place.line; }
    static void clearSourcePlace() { s_place = SourcePlace(); }

    // Labels: name to instruction index. Few blocks have any, so the table
    // is made by the first label.
    void addLabel(std::string_view name, int index);
    bool findLabel(std::string_view name, int& index) const;
    const MemberTable& labels() const;

    static void* operator new(std::size_t size);
    static void operator delete(void* slot);

private:
    CodeBlock();
    ~CodeBlock();
    void buildForm();
    void dropForm();
    void reserveFew();
    // The instruction at `index`, the last one, comes from `line`.
    void noteLine(int index, int line) {
        if (m_lines.empty() || m_lines.back().line != line) m_lines.push_back({index, line});
    }

    // A compile makes a block for every body and branch: their arrays come
    // from the size-class pools rather than the general heap.
    std::vector<OpCode*, pool::Allocator<OpCode*>> m_ops;
    // Source lines as runs: the instructions from `first` up to the next
    // run's come from `line`. A statement compiles to several instructions,
    // so this takes a fraction of a line per instruction.
    struct LineRun {
        int first;
        int line;
    };
    std::vector<LineRun, pool::Allocator<LineRun>> m_lines;
    const std::string* m_file = nullptr; // the file the block was compiled from
    ExecForm* m_form = nullptr;
    MemberTable* m_labels = nullptr;
    int m_references = 1;

    static inline SourcePlace s_place;
};

} // namespace Kel
