-- Fixed resource prefetcher (first cut: the module shape only).
local M = {}

function M.new(ctx)
  local self = { ctx = ctx }
  function self.start() end
  return self
end

return M
