// Code blocks: an owned instruction sequence with its label table, shared by
// reference count between copies of a function object and copied only before
// it is written to. Blocks come from the fixed-size pools.
#include "code_block.h"

#include "exec_form.h"
#include "member_table.h"
#include "opcode.h"
#include "pool.h"

#include <algorithm>
#include <iterator>
#include <set>

namespace Kel {

void* CodeBlock::operator new(std::size_t) {
    return pool::allocate(sizeof(CodeBlock));
}

void CodeBlock::operator delete(void* slot) {
    pool::release(slot, sizeof(CodeBlock));
}

namespace {

// A block's first allocation holds this many instructions.
constexpr size_t FIRST_CAPACITY = 8;

} // namespace

CodeBlock::CodeBlock() = default;

CodeBlock::~CodeBlock() {
    dropForm();
    for (OpCode* op : m_ops)
        delete op;
    delete m_labels;
}

CodeBlock* CodeBlock::create() {
    return new CodeBlock;
}

void CodeBlock::release() {
    if (--m_references == 0) delete this;
}

// Every clone goes through the appender, exactly like freshly generated code,
// and keeps the place it came from.
CodeBlock* CodeBlock::copy() const {
    CodeBlock* block = create();
    block->m_ops.reserve(m_ops.size());
    SourcePlace outer = s_place;
    for (int i = 0; i < size(); ++i) {
        s_place = placeAt(i);
        block->append(m_ops[static_cast<size_t>(i)]->clone());
    }
    s_place = outer;
    return block;
}

SourcePlace CodeBlock::placeAt(int index) const {
    if (index < 0 || index >= size()) return {m_file, 0};
    auto after = std::upper_bound(m_lines.begin(), m_lines.end(), index,
                                  [](int at, const LineRun& run) { return at < run.first; });
    return {m_file, std::prev(after)->line};
}

void CodeBlock::setSourcePlace(std::string_view file, int line) {
    // Every statement sets its place, nearly always in the file of the one before.
    if (s_place.file && *s_place.file == file) {
        s_place.line = line;
        return;
    }
    static std::set<std::string, std::less<>> names;
    auto known = names.find(file);
    if (known == names.end()) known = names.emplace(file).first;
    s_place = {&*known, line};
}

void CodeBlock::buildForm() {
    m_form = new ExecForm(*this);
}

// A block is never written while a scope runs it (the scope's reference makes
// a writer copy it), so no run loop is using the form dropped here.
void CodeBlock::dropForm() {
    delete m_form;
    m_form = nullptr;
}

void CodeBlock::setTarget(int index, int target) {
    if (index < 0 || index >= size()) return;
    dropForm();
    m_ops[static_cast<size_t>(index)]->setTarget(target);
}

void CodeBlock::reserveFew() {
    m_ops.reserve(FIRST_CAPACITY);
}

// A temporary block is never run and has no labels, so its instructions can
// change hands as they are instead of as clones.
void CodeBlock::appendMoved(CodeBlock* from) {
    if (from->m_ops.empty()) {
        from->release();
        return;
    }
    if (m_form) dropForm();
    if (!m_file) m_file = s_place.file;
    int offset = size();
    m_ops.insert(m_ops.end(), from->m_ops.begin(), from->m_ops.end());
    for (const LineRun& run : from->m_lines)
        noteLine(offset + run.first, run.line);
    from->m_ops.clear();
    from->release();
}

void CodeBlock::removeLast() {
    if (m_ops.empty()) return;
    dropForm();
    delete m_ops.back();
    m_ops.pop_back();
    if (m_lines.back().first == size()) m_lines.pop_back();
}

void CodeBlock::replace(int index, OpCode* op) {
    dropForm();
    OpCode*& slot = m_ops[static_cast<size_t>(index)];
    delete slot;
    slot = op;
}

void CodeBlock::addLabel(std::string_view name, int index) {
    if (!m_labels) m_labels = new MemberTable;
    m_labels->setNumber(name, index);
}

bool CodeBlock::findLabel(std::string_view name, int& index) const {
    int32_t number = 0;
    if (!m_labels || !m_labels->findNumber(name, number)) return false;
    index = number;
    return true;
}

const MemberTable& CodeBlock::labels() const {
    static const MemberTable none;
    return m_labels ? *m_labels : none;
}

} // namespace Kel
