-- Delivered by the demo's update package into the resource cache.
return "Tin mới từ bản cập nhật 101: chào mừng đến Mộc Hà Lục!"
