#include "run_space.h"

#include <gtest/gtest.h>

#include "own_folder.h"
#include "own_network.h"

namespace qv::test {

void EnterRunSpace(const TempRoot& root, const std::string& pki_folder, OwnProcessSpace& space) {
  std::string why_not;
  if (!EnterOwnLoopbackNetwork(why_not)) GTEST_SKIP() << why_not;
  ASSERT_TRUE(EnterOwnViewOfFolder(pki_folder, root.Path("service/pki"), why_not)) << why_not;
  ASSERT_TRUE(space.Enter(why_not)) << why_not;
}

}  // namespace qv::test
