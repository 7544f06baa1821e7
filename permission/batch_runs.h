// The two runs of cacls every procedure is made of, for the procedures in
// permission.cpp and restore.cpp: a query of the held folder's list, and a
// change of it to a given list. Each owns its temporary files and batch
// file for that one run (see permission.h).
#pragma once

#include <functional>
#include <string>

#include "permission/permission.h"

namespace 보안방화벽 {

// Done with the hold on the target, after every check of the target and
// before the batch file is written; answering false, nothing runs.
using 붙잡은뒤할일 = std::function<bool(const 보유&)>;

// The descriptor cacls prints for the folder when asked: the rest of the
// line that names the held folder itself. Refuses (응답없음) an output
// without that line: no answer may read as a list.
std::wstring 조회한설명자(플랫폼& 시스템, const 대상폴더& 대상, const 붙잡은뒤할일& 붙잡은뒤 = {});

// Sets the folder's access list to `목록`; true when cacls reported the
// folder as processed (in Korean: any other answer is false, and only a
// query can tell), false when `붙잡은뒤` stopped it. Elevated, a tree with a
// link in it after cmd is refused (링크생김).
플래그 목록설정(플랫폼& 시스템, const 대상폴더& 대상, const std::wstring& 목록,
                const 붙잡은뒤할일& 붙잡은뒤);

}  // namespace 보안방화벽
