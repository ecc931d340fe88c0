// An effect whose editor cannot be allocated: the failure is recorded for the process and the
// effect reports no editor, so the entry point refuses the instance.
#include <cstddef>
#include <new>

#include "EditorTestSupport.h"

namespace {

// The size of the one allocation to refuse; 0 refuses nothing.
std::size_t refusedSize = 0;

}  // namespace

// Every nothrow allocation of this test program passes here; the editor is made with one.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (refusedSize != 0 && size == refusedSize) return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

TEST(EditorCreation, AnEditorThatCannotBeMadeIsRecordedAndNotReported) {
    headless::enable();
    EXPECT_FALSE(editorCreationFailed);
    refusedSize = sizeof(FreezeEditor);
    auto* effect = new FreezeEffectEdit(testHostCallback);
    refusedSize = 0;
    EXPECT_FALSE(effect->editorCreated());
    EXPECT_TRUE(editorCreationFailed);
    AEffect* record = effect->getEffectRecord();
    EXPECT_EQ(record->flags, 0x34);
    ERect* rect = nullptr;
    EXPECT_EQ(record->dispatcher(record, effEditGetRect, 0, 0, &rect, 0.0f), 0);
    EXPECT_EQ(record->dispatcher(record, effEditOpen, 0, 0, nullptr, 0.0f), 0);
    record->setParameter(record, kParamAttack, 0.5f);  // nothing to tell
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
