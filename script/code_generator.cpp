// Building blocks of code generation shared by the statement and expression
// routines of the parser.
#include "code_generator.h"

#include "code_block.h"
#include "member_table.h"
#include "object.h"
#include "opcode.h"

namespace Kel::codegen {

using variable::Variable::vObject;

CodeBlock& writableCode(vObject& function) {
    CodeBlock* code = function.codeBlock();
    if (!code) {
        code = CodeBlock::create();
        function.shareCode(code);
        code->release();
    } else if (code->isShared()) {
        // A copy carries no labels; while the instructions keep their places
        // the labels stay true, so they go along.
        CodeBlock* copy = code->copy();
        if (copy->size() == code->size())
            code->labels().forEach([&](MemberTable::Entry& label) {
                copy->addLabel(label.name.view(), label.number);
            });
        function.shareCode(copy);
        copy->release();
    }
    return *function.codeBlock();
}

CodeBlock* temporaryBlock() {
    return CodeBlock::create();
}

void appendBlock(CodeBlock& to, CodeBlock* from) {
    to.appendMoved(from);
}

Ref functionOf(CodeBlock* block) {
    auto* function = new vObject;
    Ref holder(function);
    function->shareCode(block);
    block->release();
    return holder;
}

void settle(CodeBlock& code) {
    if (code.kindAt(code.size() - 1) == KIND_PARENTHESES) code.removeLast();
}

void setJump(CodeBlock& code, int index, int target) {
    code.setTarget(index, target);
}

} // namespace Kel::codegen
