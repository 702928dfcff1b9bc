#include "TreeFixture.h"

namespace vesk::testing {

TreeFixture::TreeFixture() : Source(&Records) {
    Records.AddFieldDef("ID", ftInteger);
    Records.AddFieldDef("OwnerID", ftInteger);
    Records.AddFieldDef("Name", ftString, 20);
    Records.AddFieldDef("Image", ftInteger);
    View.SetDataFieldID("ID");
    View.SetDataFieldOwnerID("OwnerID");
    View.SetDataFieldText("Name");
    View.SetDataSource(&Source);
}

void TreeFixture::Load(const std::vector<TRecord>& records) {
    Records.Open();
    Records.DisableControls();
    while (!Records.IsEmpty())
        Records.Delete();
    for (const TRecord& r : records)
        Records.AppendRecord(
            {std::int64_t{r.ID}, std::int64_t{r.OwnerID}, r.Text, std::int64_t{r.Image}});
    Records.EnableControls();
}

std::string DumpTree(const TTreeNodes& items) {
    std::string out;
    for (int i = 0; i < items.Count(); ++i) {
        const auto* node = dynamic_cast<const TVeskTreeNode*>(items.Item(i));
        out.append(2 * node->Level(), ' ').append(node->Text());
        out.append(" [" + std::to_string(node->ID) + "]\n");
    }
    return out;
}

std::string TreeFixture::Dump() const {
    return DumpTree(View.Items());
}

TVeskTreeNode* TreeFixture::Node(int absoluteIndex) const {
    return dynamic_cast<TVeskTreeNode*>(View.Items().Item(absoluteIndex));
}

} // namespace vesk::testing
